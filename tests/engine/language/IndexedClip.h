#pragma once
// A clip made in memory for tests: frame n carries the value n in its first
// four bytes, and sample s of channel c is the integer testSampleValue(s, c),
// so a test reads back exactly which frame and which samples a filter gave.

#include "engine/Clip.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace vistrel::test {

struct IndexedClipShape {
    int64_t frames = 50;
    int width = 8;  // 0: no video
    int height = 4;
    engine::PixelType pixelType = engine::PixelType::RGB32;
    engine::Rational fps{24, 1};
    int audioRate = 48000;  // 0: no sound
    int channels = 1;
    engine::SampleType sampleType = engine::SampleType::Int16;
    int64_t audioSamples = -1;  // -1: as long as the video
};

// Sample s of channel c: a value that differs between neighbouring samples
// and channels and fits 16 bits.
int16_t testSampleValue(int64_t s, int channel);

class IndexedClip : public engine::Clip {
public:
    explicit IndexedClip(const IndexedClipShape& shape);
    static std::shared_ptr<IndexedClip> make(const IndexedClipShape& shape = {});

    // How many frames were made (frames served from a cache are not counted).
    int framesMade() const { return framesMade_; }

protected:
    engine::FramePtr makeFrame(int64_t n) override;
    void readAudio(void* dst, int64_t start, int64_t count) override;

private:
    std::atomic<int> framesMade_{0};
};

// The value a frame of an IndexedClip carries.
int64_t frameIndexOf(const engine::Frame& frame);

// Reads count samples of one channel from start, as plain numbers (float
// samples multiplied back by 32768).
std::vector<int> readSamples(engine::Clip& clip, int64_t start, int64_t count, int channel = 0);

}  // namespace vistrel::test
