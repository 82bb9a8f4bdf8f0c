#pragma once
// Clips side by side, left to right. The result is as long as the longest
// clip (a shorter one holds its last frame) and takes the first clip's frame
// rate and sound. The clips' frames are fetched in parallel, and while the
// frames are asked for in order each clip goes on to the next one as soon as
// it has delivered its own, so that a fast clip does not wait for the slowest.
// A jump, or the stack going away, gives that look-ahead up without waiting
// for it.

#include "engine/core/Clip.h"
#include "engine/core/FrameLane.h"

#include <deque>
#include <future>
#include <memory>
#include <mutex>
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
    // While frames are read in order, how far each clip may run ahead of the
    // frame asked for: far enough that one slow frame (a keyframe of all the
    // angles at once) does not leave a core idle.
    static constexpr int kFramesAhead = 3;

    using Fetch = std::shared_future<FramePtr>;

    // Frame n of every clip, being fetched; when n follows the frame asked
    // for last, starts the fetches of the frames after it behind them.
    std::vector<Fetch> startFetches(int64_t n);
    // Gives up clip i's frames fetched ahead.
    void giveUpAhead(size_t i);

    std::vector<ClipPtr> clips_;
    std::vector<std::unique_ptr<FrameLane>> lanes_;  // per clip: its frames read in order
    std::mutex mutex_;
    int64_t lastAsked_ = -2;
    std::vector<std::deque<FrameLane::Fetch>> ahead_;  // per clip: its next frames, asked of its lane
};

}  // namespace vistrel::engine
