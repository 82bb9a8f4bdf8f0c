#pragma once
// One clip's frames made one after another on a thread of the lane's own, in
// the order they were asked for, so that a source that decodes in order can
// run ahead of its reader. What was asked ahead of need can be given up at no
// cost to the one who gives it up: a frame not started is dropped, and the
// frame being made is finished unseen; nobody waits for it, not even the
// lane's destructor. The thread holds the clip until that frame is done and
// ends after a short idle spell; the program waits for such threads only when
// it ends.

#include "engine/core/Clip.h"

#include <cstdint>
#include <future>
#include <memory>

namespace vistrel::engine {

class FrameLane {
public:
    struct Fetch {
        int64_t frame = -1;
        uint64_t id = 0;                      // which request of the lane this is
        std::shared_future<FramePtr> result;  // the frame or the clip's error
    };

    explicit FrameLane(ClipPtr clip);
    // Gives up every frame still queued; returns at once.
    ~FrameLane();
    FrameLane(const FrameLane&) = delete;
    FrameLane& operator=(const FrameLane&) = delete;

    // Frame n, made once the frames asked for before it are made.
    Fetch ask(int64_t n);
    // Gives up a fetch that nobody will wait for.
    void giveUp(const Fetch& fetch);

    struct State;  // shared with the lane's thread

private:
    std::shared_ptr<State> state_;
};

}  // namespace vistrel::engine
