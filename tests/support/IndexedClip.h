#pragma once
// A clip made in memory for tests: frame n carries its number, and sample s
// of channel c is testSample(s, c), so a test reads back exactly which frame
// and which samples it got, without a decoder in the way. The number is
// either written into the frame's first four bytes (exact through filters
// that move frames whole) or drawn as the index pattern (readable after
// scaling, as the player shows it). A decoding delay stands in for a slow
// source.

#include "engine/core/Clip.h"
#include "support/TestMedia.h"  // testSample

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

namespace vistrel::test {

enum class FrameMark { IndexPattern, FirstBytes };

// By default the clip the player's tests show: 200 frames of 320x240 at
// 25 fps, each drawn with its index pattern, silent.
struct IndexedClipShape {
    int width = 320;  // 0: no video
    int height = 240;
    engine::PixelType pixelType = engine::PixelType::RGB32;
    engine::Rational fps{25, 1};
    int64_t frames = 200;
    int audioRate = 0;  // 0: no sound
    int channels = 2;
    engine::SampleType sampleType = engine::SampleType::Int16;
    int64_t audioSamples = -1;  // -1: as long as the video
    FrameMark mark = FrameMark::IndexPattern;
    int indexOffset = 0;  // frame n carries n + indexOffset
    std::chrono::milliseconds decodeDelay{0};
    // The first warmUpFrames frames made take warmUpDelay more, as a cold decoder does.
    int warmUpFrames = 0;
    std::chrono::milliseconds warmUpDelay{0};
};

// The engine's tests' clip: 50 frames of 8x4 at 24 fps, each with its number
// in its first bytes, with mono 16-bit sound at 48 kHz.
IndexedClipShape smallClipShape();

class IndexedClip : public engine::Clip {
public:
    explicit IndexedClip(const IndexedClipShape& shape);
    static std::shared_ptr<IndexedClip> make(const IndexedClipShape& shape = {});

    // How many frames were made, on any thread (frames served from a cache
    // are not counted).
    int64_t framesMade() const { return framesMade_; }

protected:
    engine::FramePtr makeFrame(int64_t n) override;
    void readAudio(void* dst, int64_t start, int64_t count) override;

private:
    IndexedClipShape shape_;
    std::atomic<int64_t> framesMade_{0};
};

// The number an IndexedClip frame marked in its first bytes carries.
int64_t frameIndexOf(const engine::Frame& frame);

// Reads count samples of one channel from start, as plain numbers (float
// samples multiplied back by 32768).
std::vector<int> readSamples(engine::Clip& clip, int64_t start, int64_t count, int channel = 0);

}  // namespace vistrel::test
