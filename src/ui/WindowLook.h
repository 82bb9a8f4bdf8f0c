#pragma once
// How Vistrel's windows look: sizes in twips (a fifteenth of a pixel), the
// font, the icon, and placing a window in the middle of another.

#include <QFont>
#include <QIcon>
#include <QMargins>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <utility>

namespace vistrel::ui {

// The windows are laid out in twips, 1/1440 inch, the way their controls were
// first drawn; on the screen 15 twips make one device-independent pixel.
// Every control has a fixed place: there are no layouts.

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

// The font of both windows: the desktop's own face at the size of a classic
// dialog font, 11 device-independent pixels, so that every caption fits the
// fixed size of its control.

inline constexpr int kWindowFontPixels = 11;

QFont windowFont(const QFont& desktopFont);

// The picture both windows carry: four angle tiles and a cut mark, 32 × 32.

QIcon vistrelIcon();

// Where a window goes when it places itself in the middle of the screen.

// The offset that centres an outer extent (frame included) on a screen
// extent, in any unit: the difference, rounded to a 32-bit integer with
// halves going to the even neighbour, then halved as an integer with the
// quotient truncated toward zero. 15360 and 10875 give 2242. A window larger
// than the screen gives a negative offset; nothing clamps it.
int centredOffset(double screenExtent, double outerExtent);

// Moves a top-level window to the middle of its screen before it is shown.
// Its frame is not known before it is first shown, so the caller passes the
// frame it expects (another shown window's, or none).
void centreOnScreen(QWidget& window, const QMargins& expectedFrame);

// The frame around a shown top-level window: caption bar and borders.
QMargins frameMarginsOf(const QWidget& window);

}  // namespace vistrel::ui
