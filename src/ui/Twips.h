#pragma once
// The windows are laid out in twips, 1/1440 inch, the way their controls were
// first drawn; on the screen 15 twips make one device-independent pixel.
// Every control has a fixed place: there are no layouts.

#include <QRect>
#include <QSize>
#include <QWidget>

#include <utility>

namespace vistrel::ui {

inline constexpr int kTwipsPerPixel = 15;

// Twips to device-independent pixels, rounded to the nearest pixel.
int pixelsFromTwips(int twips);

// A control's place in its window's client area, in twips.
struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

QRect pixelRect(const TwipRect& place);
QSize pixelSize(int widthTwips, int heightTwips);

// Creates a control as a direct child of window (which owns it), names it and
// puts it at its place. Later controls lie in front of earlier ones.
template <typename Control, typename... Args>
Control* placeControl(QWidget& window, const char* name, const TwipRect& place, Args&&... args) {
    auto* control = new Control(std::forward<Args>(args)..., &window);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(pixelRect(place));
    return control;
}

}  // namespace vistrel::ui
