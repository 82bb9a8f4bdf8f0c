#include "ui/WindowFont.h"

namespace vistrel::ui {

QFont windowFont(const QFont& desktopFont) {
    QFont font = desktopFont;
    font.setPixelSize(kWindowFontPixels);
    return font;
}

}  // namespace vistrel::ui
