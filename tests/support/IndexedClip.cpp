#include "support/IndexedClip.h"

#include "support/FrameIndexPattern.h"

#include <cmath>
#include <cstring>
#include <thread>

namespace vistrel::test {

using namespace vistrel::engine;

namespace {

VideoInfo infoFor(const IndexedClipShape& shape) {
    VideoInfo info;
    info.width = shape.width;
    info.height = shape.width > 0 ? shape.height : 0;
    info.pixelType = shape.pixelType;
    info.fps = shape.width > 0 ? Rational::reduced(shape.fps.num, shape.fps.den) : Rational{0, 1};
    info.frameCount = shape.width > 0 ? shape.frames : 0;
    if (shape.audioRate > 0) {
        info.audioRate = shape.audioRate;
        info.channels = shape.channels;
        info.sampleType = shape.sampleType;
        // As long as the video would be, also for a clip without video.
        const int64_t lengthOfVideo = shape.frames * shape.audioRate * shape.fps.den / shape.fps.num;
        info.audioSamples = shape.audioSamples >= 0 ? shape.audioSamples : lengthOfVideo;
    }
    return info;
}

}  // namespace

IndexedClipShape smallClipShape() {
    IndexedClipShape shape;
    shape.width = 8;
    shape.height = 4;
    shape.fps = {24, 1};
    shape.frames = 50;
    shape.audioRate = 48000;
    shape.channels = 1;
    shape.mark = FrameMark::FirstBytes;
    return shape;
}

IndexedClip::IndexedClip(const IndexedClipShape& shape) : Clip(infoFor(shape)), shape_(shape) {}

std::shared_ptr<IndexedClip> IndexedClip::make(const IndexedClipShape& shape) {
    return std::make_shared<IndexedClip>(shape);
}

FramePtr IndexedClip::makeFrame(int64_t n) {
    if (shape_.decodeDelay.count() > 0) std::this_thread::sleep_for(shape_.decodeDelay);
    if (framesMade_ < shape_.warmUpFrames) std::this_thread::sleep_for(shape_.warmUpDelay);
    MutableFramePtr frame = Frame::create(info_.width, info_.height, info_.pixelType);
    const int64_t number = n + shape_.indexOffset;
    if (shape_.mark == FrameMark::IndexPattern) {
        drawFrameIndex(*frame, static_cast<int>(number));
    } else {
        for (int p = 0; p < frame->planeCount(); ++p) {
            const Plane& plane = frame->plane(p);
            for (int y = 0; y < plane.rows; ++y) std::memset(plane.row(y), 0, plane.rowBytes);
        }
        const auto value = static_cast<uint32_t>(number);
        std::memcpy(frame->plane(0).data, &value, sizeof value);
    }
    ++framesMade_;
    return frame;
}

void IndexedClip::readAudio(void* dst, int64_t start, int64_t count) {
    for (int64_t i = 0; i < count; ++i) {
        for (int c = 0; c < info_.channels; ++c) {
            const int16_t value = testSample(start + i, c);
            const int64_t at = i * info_.channels + c;
            if (info_.sampleType == SampleType::Int16)
                static_cast<int16_t*>(dst)[at] = value;
            else
                static_cast<float*>(dst)[at] = value / 32768.0f;
        }
    }
}

int64_t frameIndexOf(const Frame& frame) {
    uint32_t value = 0;
    std::memcpy(&value, frame.plane(0).data, sizeof value);
    return value;
}

std::vector<int> readSamples(Clip& clip, int64_t start, int64_t count, int channel) {
    const VideoInfo& info = clip.info();
    std::vector<uint8_t> bytes(static_cast<size_t>(count * info.bytesPerAudioFrame()));
    clip.audio(bytes.data(), start, count);
    std::vector<int> samples;
    for (int64_t i = 0; i < count; ++i) {
        const int64_t at = i * info.channels + channel;
        if (info.sampleType == SampleType::Int16) {
            samples.push_back(reinterpret_cast<const int16_t*>(bytes.data())[at]);
        } else {
            samples.push_back(
                static_cast<int>(std::lround(reinterpret_cast<const float*>(bytes.data())[at] * 32768.0f)));
        }
    }
    return samples;
}

}  // namespace vistrel::test
