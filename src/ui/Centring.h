#pragma once
// Where a window goes when it places itself in the middle of the screen.

#include <QMargins>
#include <QWidget>

namespace vistrel::ui {

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
