#include "engine/core/FrameCache.h"

namespace vistrel::engine {

FramePtr FrameCache::find(const void* clip, int64_t n) {
    std::lock_guard lock(mutex_);
    auto it = index_.find({clip, n});
    if (it == index_.end()) return nullptr;
    lru_.splice(lru_.begin(), lru_, it->second);
    return it->second->frame;
}

void FrameCache::insert(const void* clip, int64_t n, FramePtr frame) {
    if (!frame || frame->byteSize() > largestFrame_) return;
    std::lock_guard lock(mutex_);
    const Key key{clip, n};
    if (auto it = index_.find(key); it != index_.end()) {
        lru_.splice(lru_.begin(), lru_, it->second);
        return;
    }
    used_ += frame->byteSize();
    lru_.push_front({key, std::move(frame)});
    index_.emplace(key, lru_.begin());
    evictOverBudget();
}

void FrameCache::forget(const void* clip) {
    std::lock_guard lock(mutex_);
    for (auto it = lru_.begin(); it != lru_.end();) {
        if (it->key.clip == clip) {
            used_ -= it->frame->byteSize();
            index_.erase(it->key);
            it = lru_.erase(it);
        } else {
            ++it;
        }
    }
}

size_t FrameCache::bytesUsed() const {
    std::lock_guard lock(mutex_);
    return used_;
}

void FrameCache::evictOverBudget() {
    while (used_ > budget_ && !lru_.empty()) {
        used_ -= lru_.back().frame->byteSize();
        index_.erase(lru_.back().key);
        lru_.pop_back();
    }
}

}  // namespace vistrel::engine
