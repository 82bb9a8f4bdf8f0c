#pragma once
// Makes the picture of frame n of a clip for a picture area: decoded by the
// engine, then converted and scaled to fit the area keeping its aspect ratio.
// A frame that cannot be decoded becomes the engine's error card with the
// reason, so playback never stops on an exception.
//
// One renderer per thread (it owns a scaler).

#include "engine/Clip.h"
#include "player/Picture.h"
#include "engine/FrameImage.h"

#include <QSize>
#include <QString>

#include <cstdint>

namespace vistrel::player {

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
