#include "player/FrameRenderer.h"

#include "engine/clips/ErrorCard.h"

#include <algorithm>
#include <exception>

namespace vistrel::player {

namespace {

// a * b / c rounded to the nearest whole number.
int scaled(int a, int b, int c) {
    return static_cast<int>((static_cast<int64_t>(a) * b * 2 + c) / (static_cast<int64_t>(c) * 2));
}

}  // namespace

QSize fittedSize(QSize picture, QSize area) {
    if (picture.isEmpty() || area.isEmpty()) return {};
    // Compare aspect ratios crosswise to stay in whole numbers.
    const bool widthLimits =
        static_cast<int64_t>(area.width()) * picture.height() <= static_cast<int64_t>(area.height()) * picture.width();
    if (widthLimits) return {area.width(), std::max(1, scaled(area.width(), picture.height(), picture.width()))};
    return {std::max(1, scaled(area.height(), picture.width(), picture.height())), area.height()};
}

QRect fittedRect(QSize picture, const QRect& area) {
    const QSize size = fittedSize(picture, area.size());
    if (size.isEmpty()) return {};
    return {area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2, size.width(),
            size.height()};
}

Picture FrameRenderer::render(engine::Clip& clip, int64_t n, QSize area) {
    try {
        const engine::FramePtr frame = clip.frame(n);
        return {n, fitted(*frame, area)};
    } catch (const std::exception& error) {
        return {n, errorPicture(QString::fromStdString(error.what()), area)};
    }
}

QImage FrameRenderer::errorPicture(const QString& message, QSize area) {
    try {
        const engine::ClipPtr card = engine::makeErrorCard(message.toStdString());
        const engine::FramePtr frame = card->frame(0);
        // The card is drawn at the size of its text: shrink it to fit, never blow it up.
        const QSize natural(frame->width(), frame->height());
        return converter_.convert(*frame, fittedSize(natural, area.isEmpty() ? natural : natural.boundedTo(area)));
    } catch (const std::exception&) {
        // Not even the card could be drawn: show black rather than nothing at all.
        QImage black(area.isEmpty() ? QSize(1, 1) : area, QImage::Format_RGB32);
        black.fill(Qt::black);
        return black;
    }
}

QImage FrameRenderer::fitted(const engine::Frame& frame, QSize area) {
    return converter_.convert(frame, fittedSize(QSize(frame.width(), frame.height()), area));
}

}  // namespace vistrel::player
