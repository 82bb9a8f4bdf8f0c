#include "player/PlayerProbe.h"

#include "support/FrameIndexPattern.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <cstring>

namespace vistrel::test {

int shownFrameIndex(player::PlayerWnd& player) {
    const QImage shot = player.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect area = player.pictureRect();
    if (area.isEmpty()) return kNoFrameIndex;
    auto frame = engine::Frame::create(shot.width(), shot.height(), engine::PixelType::RGB32);
    for (int y = 0; y < shot.height(); ++y)
        std::memcpy(frame->plane(0).row(y), shot.constScanLine(y), shot.width() * 4);
    return readFrameIndex(*frame, area);
}

namespace {

template <typename Busy>
bool waitWhile(Busy busy, std::chrono::milliseconds timeout) {
    QElapsedTimer timer;
    timer.start();
    while (busy()) {
        if (timer.elapsed() > timeout.count()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

}  // namespace

bool waitUntilOpened(player::PlayerWnd& player, std::chrono::milliseconds timeout) {
    return waitWhile([&] { return player.isOpening(); }, timeout);
}

bool waitUntilShown(player::PlayerWnd& player, std::chrono::milliseconds timeout) {
    return waitWhile([&] { return player.isSeeking(); }, timeout);
}

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    return waitWhile([&] { return !done(); }, timeout);
}

bool waitUntilPast(player::PlayerWnd& player, int64_t frame) {
    return waitUntil([&] { return player.position() > frame; });
}

void runEventLoop(std::chrono::milliseconds duration) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < duration.count()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}

bool hasRedText(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb p = rgb.pixel(x, y);
            if (qRed(p) > 200 && qGreen(p) < 90 && qBlue(p) < 90) return true;
        }
    return false;
}

PositionRecorder::PositionRecorder(player::PlayerWnd& player) {
    QObject::connect(&player, &player::PlayerWnd::positionchange, &player,
                     [this](int frame) { positions_.push_back(frame); });
}

}  // namespace vistrel::test
