#include "player/IndexedClip.h"

#include "support/FrameIndexPattern.h"
#include "support/TestMedia.h"

#include <cstring>
#include <thread>

namespace vistrel::test {

namespace {

engine::VideoInfo infoFor(const IndexedClipShape& shape) {
    engine::VideoInfo info;
    info.width = shape.width;
    info.height = shape.height;
    info.pixelType = shape.pixelType;
    info.fps = shape.fps;
    info.frameCount = shape.frameCount;
    if (shape.audioRate > 0) {
        info.audioRate = shape.audioRate;
        info.channels = shape.channels;
        info.audioSamples = info.samplesBeforeFrame(shape.frameCount);
    }
    return info;
}

}  // namespace

IndexedClip::IndexedClip(const IndexedClipShape& shape) : Clip(infoFor(shape)), shape_(shape) {}

engine::FramePtr IndexedClip::makeFrame(int64_t n) {
    if (shape_.decodeDelay.count() > 0) std::this_thread::sleep_for(shape_.decodeDelay);
    if (framesMade_ < shape_.warmUpFrames) std::this_thread::sleep_for(shape_.warmUpDelay);
    auto frame = engine::Frame::create(shape_.width, shape_.height, shape_.pixelType);
    drawFrameIndex(*frame, static_cast<int>(n) + shape_.indexOffset);
    ++framesMade_;
    return frame;
}

void IndexedClip::readAudio(void* dst, int64_t start, int64_t count) {
    auto* out = static_cast<int16_t*>(dst);
    for (int64_t s = 0; s < count; ++s)
        for (int c = 0; c < shape_.channels; ++c) *out++ = testSample(start + s, c);
}

}  // namespace vistrel::test
