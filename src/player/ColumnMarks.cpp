#include "player/ColumnMarks.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

namespace vistrel::player {

namespace {

constexpr int kLabelPixels = 11;  // small enough to leave a column's picture readable
constexpr int kLabelPadding = 2;
constexpr int kFrameWidth = 2;
const QColor kLabelBackground(0, 0, 0, 170);
const QColor kFrameColour(255, 176, 0);

QRect columnRect(const QRect& picture, int columns, int column) {
    const int left = picture.left() + picture.width() * column / columns;
    const int right = picture.left() + picture.width() * (column + 1) / columns;
    return {left, picture.top(), right - left, picture.height()};
}

void drawLabel(QPainter& painter, const QRect& column, const QString& label) {
    const QFontMetrics metrics(painter.font());
    const QRect box(column.left(), column.top(), metrics.horizontalAdvance(label) + 2 * kLabelPadding,
                    metrics.height());
    painter.fillRect(box, kLabelBackground);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, label);
}

}  // namespace

void drawColumnMarks(QPainter& painter, const QRect& picture, const ColumnMarks& marks) {
    if (marks.isEmpty() || picture.isEmpty()) return;
    painter.save();
    QFont font = painter.font();
    font.setPixelSize(kLabelPixels);
    font.setBold(true);
    painter.setFont(font);
    for (int column = 0; column < marks.columns; ++column) {
        const QRect area = columnRect(picture, marks.columns, column);
        if (column == marks.framed) {
            painter.setPen(QPen(kFrameColour, kFrameWidth));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(area.adjusted(kFrameWidth / 2, kFrameWidth / 2, -kFrameWidth / 2, -kFrameWidth / 2));
        }
        if (column < marks.labels.size() && !marks.labels[column].isEmpty())
            drawLabel(painter, area, marks.labels[column]);
    }
    painter.restore();
}

}  // namespace vistrel::player
