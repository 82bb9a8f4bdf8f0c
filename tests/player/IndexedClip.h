#pragma once
// A clip made in memory whose frame n shows the index pattern of n + offset
// and whose sound sample s of channel c is testSample(s, c): the player's
// tests read back exactly which frame and which samples they got, without a
// decoder in the way. A decoding delay stands in for a slow source.

#include "engine/Clip.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>

namespace vistrel::test {

struct IndexedClipShape {
    int width = 320;
    int height = 240;
    engine::PixelType pixelType = engine::PixelType::RGB32;
    engine::Rational fps{25, 1};
    int64_t frameCount = 200;
    int audioRate = 0;  // 0: no sound
    int channels = 2;
    int indexOffset = 0;  // frame n shows n + indexOffset
    std::chrono::milliseconds decodeDelay{0};
    // The first warmUpFrames frames made take warmUpDelay more, as a cold decoder does.
    int warmUpFrames = 0;
    std::chrono::milliseconds warmUpDelay{0};
};

class IndexedClip : public engine::Clip {
public:
    explicit IndexedClip(const IndexedClipShape& shape);

    static std::shared_ptr<IndexedClip> make(const IndexedClipShape& shape = {}) {
        return std::make_shared<IndexedClip>(shape);
    }

    // How many frames were decoded so far, on any thread.
    int64_t framesMade() const { return framesMade_; }

protected:
    engine::FramePtr makeFrame(int64_t n) override;
    void readAudio(void* dst, int64_t start, int64_t count) override;

private:
    IndexedClipShape shape_;
    std::atomic<int64_t> framesMade_{0};
};

}  // namespace vistrel::test
