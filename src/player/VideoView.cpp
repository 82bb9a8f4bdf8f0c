#include "player/VideoView.h"

#include "player/FrameRenderer.h"

#include <QPainter>

namespace vistrel::player {

VideoView::VideoView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void VideoView::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void VideoView::setMessage(const QString& message) {
    if (message == message_) return;
    message_ = message;
    update();
}

void VideoView::setColumnMarks(const ColumnMarks& marks) {
    if (marks == marks_) return;
    marks_ = marks;
    update();
}

QRect VideoView::pictureRect(QSize areaSize) const {
    if (picture_.isNull()) return {};
    const QSize logical = (QSizeF(picture_.size()) / devicePixelRatioF()).toSize();
    if (areaSize.expandedTo(logical) == areaSize) {
        return {(areaSize.width() - logical.width()) / 2, (areaSize.height() - logical.height()) / 2, logical.width(),
                logical.height()};
    }
    return fittedRect(logical, QRect(QPoint(0, 0), areaSize));
}

void VideoView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!message_.isEmpty()) {
        painter.setPen(Qt::white);
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, message_);
        return;
    }
    if (picture_.isNull()) return;
    const QRect target = pictureRect(size());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, target.size() * devicePixelRatioF() != picture_.size());
    painter.drawImage(target, picture_);
    drawColumnMarks(painter, target, marks_);
}

}  // namespace vistrel::player
