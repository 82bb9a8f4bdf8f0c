#include "player/FrameRenderer.h"

#include "engine/ErrorCard.h"
#include "player/PictureFit.h"

#include <exception>

namespace vistrel::player {

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
