#include "ui/WindowLook.h"

#include <QScreen>
#include <QString>

#include <cmath>
#include <cstdint>
#include <limits>

namespace vistrel::ui {

int pixelsFromTwips(int twips) { return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel)); }

QRect pixelRect(const TwipRect& place) {
    return {pixelsFromTwips(place.left), pixelsFromTwips(place.top), pixelsFromTwips(place.width),
            pixelsFromTwips(place.height)};
}

QSize pixelSize(int widthTwips, int heightTwips) { return {pixelsFromTwips(widthTwips), pixelsFromTwips(heightTwips)}; }

QFont windowFont(const QFont& desktopFont) {
    QFont font = desktopFont;
    font.setPixelSize(kWindowFontPixels);
    return font;
}

QIcon vistrelIcon() { return QIcon(QStringLiteral(":/vistrel/vistrel.png")); }

namespace {

// Round half to even, held in 32 bits (held at the limits beyond them).
int32_t roundHalfToEven(double value) {
    if (std::isnan(value)) return 0;
    const double lower = std::floor(value);
    const double fraction = value - lower;
    double rounded = lower;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0)) rounded = lower + 1.0;
    constexpr double kLowest = std::numeric_limits<int32_t>::min();
    constexpr double kHighest = std::numeric_limits<int32_t>::max();
    if (rounded <= kLowest) return std::numeric_limits<int32_t>::min();
    if (rounded >= kHighest) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(rounded);
}

}  // namespace

int centredOffset(double screenExtent, double outerExtent) { return roundHalfToEven(screenExtent - outerExtent) / 2; }

void centreOnScreen(QWidget& window, const QMargins& expectedFrame) {
    const QScreen* screen = window.screen();
    if (!screen) return;
    const QRect area = screen->geometry();
    const QSize outer = window.size().grownBy(expectedFrame);
    window.move(area.x() + centredOffset(area.width(), outer.width()),
                area.y() + centredOffset(area.height(), outer.height()));
}

QMargins frameMarginsOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

}  // namespace vistrel::ui
