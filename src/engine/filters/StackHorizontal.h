#pragma once
// Clips side by side, left to right. The result is as long as the longest
// clip (a shorter one holds its last frame) and takes the first clip's frame
// rate and sound. The clips' frames are fetched in parallel.

#include "engine/Clip.h"

#include <vector>

namespace vistrel::engine {

class StackHorizontal final : public Clip {
public:
    // Two clips or more, all of one height and pixel type; throws ScriptError otherwise.
    explicit StackHorizontal(std::vector<ClipPtr> clips);

protected:
    FramePtr makeFrame(int64_t n) override;
    void readAudio(void* dst, int64_t start, int64_t count) override;

private:
    std::vector<FramePtr> fetchAll(int64_t n);

    std::vector<ClipPtr> clips_;
};

}  // namespace vistrel::engine
