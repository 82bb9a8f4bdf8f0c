#pragma once
// A clip that shows one prepared picture on every frame, with silence for
// sound. BlankClip, Version and the error card are still clips.

#include "engine/core/Clip.h"

#include <cstring>

namespace vistrel::engine {

class StillClip : public Clip {
public:
    // `picture` must match info's size and pixel type; it may be null for a clip without video.
    StillClip(const VideoInfo& info, FramePtr picture) : Clip(info), picture_(std::move(picture)) {}

protected:
    FramePtr makeFrame(int64_t) override { return picture_; }
    void readAudio(void* dst, int64_t, int64_t count) override {
        std::memset(dst, 0, static_cast<size_t>(count * info_.bytesPerAudioFrame()));
    }
    bool worthCaching() const override { return false; }

private:
    FramePtr picture_;
};

// A card's shape: width x height of type, 240 frames at 24 fps, silent (as
// version() and the error card are).
inline VideoInfo cardInfo(int width, int height, PixelType type) {
    VideoInfo vi;
    vi.width = width;
    vi.height = height;
    vi.pixelType = type;
    vi.fps = {24, 1};
    vi.frameCount = 240;
    return vi;
}

}  // namespace vistrel::engine
