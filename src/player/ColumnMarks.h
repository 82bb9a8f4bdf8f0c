#pragma once
// Marks the player draws over a picture made of columns side by side, such as
// the four-angle preview: a label in the top-left corner of each column and a
// coloured frame around one of them. They are drawn on the screen only; the
// frames of the clip are never touched.

#include <QRect>
#include <QStringList>

class QPainter;

namespace vistrel::player {

struct ColumnMarks {
    int columns = 0;     // the picture's width is split into this many equal columns
    QStringList labels;  // left to right; a missing or empty label is not drawn
    int framed = -1;     // the column with the coloured frame; -1 for none

    bool isEmpty() const { return columns <= 0; }
    bool operator==(const ColumnMarks&) const = default;
};

// Draws the marks over picture, the rectangle the frame is shown in.
void drawColumnMarks(QPainter& painter, const QRect& picture, const ColumnMarks& marks);

}  // namespace vistrel::player
