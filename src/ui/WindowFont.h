#pragma once
// The font of both windows: the desktop's own face at the size of a classic
// dialog font, 11 device-independent pixels, so that every caption fits the
// fixed size of its control.

#include <QFont>

namespace vistrel::ui {

inline constexpr int kWindowFontPixels = 11;

QFont windowFont(const QFont& desktopFont);

}  // namespace vistrel::ui
