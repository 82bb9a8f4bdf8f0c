#pragma once
// The last few frames a source decoded, so that stepping back a frame or two
// after playing forward costs no new decoding. Bounded in count and bytes;
// the oldest goes first. Not locked: the source uses it under its decoder lock.

#include "engine/core/Frame.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <utility>

namespace vistrel::engine {

class RecentFrames {
public:
    RecentFrames(size_t maxFrames, size_t maxBytes) : maxFrames_(maxFrames), maxBytes_(maxBytes) {}

    FramePtr find(int64_t n) const;
    void insert(int64_t n, FramePtr frame);
    size_t size() const { return frames_.size(); }

private:
    size_t maxFrames_;
    size_t maxBytes_;
    size_t bytes_ = 0;
    std::deque<std::pair<int64_t, FramePtr>> frames_;  // newest at the back
};

}  // namespace vistrel::engine
