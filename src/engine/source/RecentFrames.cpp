#include "engine/source/RecentFrames.h"

#include <algorithm>

namespace vistrel::engine {

FramePtr RecentFrames::find(int64_t n) const {
    auto it = std::find_if(frames_.rbegin(), frames_.rend(), [n](const auto& entry) { return entry.first == n; });
    return it == frames_.rend() ? nullptr : it->second;
}

void RecentFrames::insert(int64_t n, FramePtr frame) {
    if (!frame || maxFrames_ == 0 || find(n)) return;
    bytes_ += frame->byteSize();
    frames_.emplace_back(n, std::move(frame));
    // The newest frame stays even when it alone is over the byte budget.
    while (frames_.size() > 1 && (frames_.size() > maxFrames_ || bytes_ > maxBytes_)) {
        bytes_ -= frames_.front().second->byteSize();
        frames_.pop_front();
    }
}

}  // namespace vistrel::engine
