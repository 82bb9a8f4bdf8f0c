#pragma once
// Where a picture goes in an area: as large as fits, keeping its aspect ratio,
// centred. A picture whose shape matches the area fills it exactly.

#include <QRect>
#include <QSize>

namespace vistrel::player {

// The largest size with the picture's aspect ratio inside area (at least 1 x 1
// for a non-empty picture); empty when either is empty.
QSize fittedSize(QSize picture, QSize area);

// fittedSize placed in the middle of area.
QRect fittedRect(QSize picture, const QRect& area);

}  // namespace vistrel::player
