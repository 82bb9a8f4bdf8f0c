#pragma once
// The picture area of the player: black, with the frame shown in the middle,
// or a line of text while a file opens. Pictures arrive already scaled to fit
// (see FrameRenderer); one that does not fit, after the area shrank, is
// shrunk on the fly keeping its aspect ratio. The area takes no focus: a
// click on it reaches the player, which takes the focus and nothing else.
// Column marks, when set, are drawn over the picture.

#include "player/ColumnMarks.h"

#include <QImage>
#include <QString>
#include <QWidget>

namespace vistrel::player {

class VideoView : public QWidget {
    Q_OBJECT

public:
    explicit VideoView(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    void setMessage(const QString& message);
    QString message() const { return message_; }
    void setColumnMarks(const ColumnMarks& marks);
    const ColumnMarks& columnMarks() const { return marks_; }
    // Where the picture is drawn when this area has the given size.
    QRect pictureRect(QSize areaSize) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    QString message_;
    ColumnMarks marks_;
};

}  // namespace vistrel::player
