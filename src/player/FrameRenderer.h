#pragma once
// A frame as the player shows it. FrameRenderer makes the picture of frame n
// of a clip for a picture area: decoded by the engine, then converted and
// scaled to fit the area keeping its aspect ratio (as large as fits, centred;
// a picture whose shape matches the area fills it exactly).
// A frame that cannot be decoded becomes the engine's error card with the
// reason, so playback never stops on an exception.
//
// One renderer per thread (it owns a scaler).

#include "engine/core/Clip.h"
#include "engine/core/FrameImage.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>

namespace vistrel::player {

// A frame of the open clip as it is shown: its number and its picture.
struct Picture {
    int64_t frame = -1;
    QImage image;
};

// The largest size with the picture's aspect ratio inside area (at least 1 x 1
// for a non-empty picture); empty when either is empty.
QSize fittedSize(QSize picture, QSize area);

// fittedSize placed in the middle of area.
QRect fittedRect(QSize picture, const QRect& area);

class FrameRenderer {
public:
    Picture render(engine::Clip& clip, int64_t n, QSize area);

    // The engine's error card showing `message`, fitted to area.
    QImage errorPicture(const QString& message, QSize area);

private:
    QImage fitted(const engine::Frame& frame, QSize area);

    engine::FrameImageConverter converter_;
};

}  // namespace vistrel::player
