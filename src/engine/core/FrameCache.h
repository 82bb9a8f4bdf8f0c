#pragma once
// A bounded cache of frames, shared by the clips of one script and keyed by
// (clip, frame number). Least recently used frames go first once the byte
// budget is spent; frames larger than the largest size given are not kept
// (a player keeps the small pictures its script makes, not the full-size
// frames they come from). Safe to use from several threads.

#include "engine/core/Frame.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <list>
#include <mutex>
#include <unordered_map>

namespace vistrel::engine {

class FrameCache {
public:
    static constexpr size_t kDefaultBudget = size_t(256) << 20;

    explicit FrameCache(size_t budgetBytes = kDefaultBudget, size_t largestFrameBytes = SIZE_MAX)
        : budget_(budgetBytes), largestFrame_(std::min(largestFrameBytes, budgetBytes)) {}

    FramePtr find(const void* clip, int64_t n);
    void insert(const void* clip, int64_t n, FramePtr frame);
    // Drops every frame of one clip (when it is destroyed).
    void forget(const void* clip);

    size_t bytesUsed() const;
    size_t budget() const { return budget_; }

private:
    struct Key {
        const void* clip;
        int64_t n;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& k) const {
            return std::hash<const void*>()(k.clip) ^ (std::hash<int64_t>()(k.n) * 0x9E3779B97F4A7C15ull);
        }
    };
    struct Entry {
        Key key;
        FramePtr frame;
    };

    void evictOverBudget();

    const size_t budget_;
    const size_t largestFrame_;
    size_t used_ = 0;
    mutable std::mutex mutex_;
    std::list<Entry> lru_;  // front: most recently used
    std::unordered_map<Key, std::list<Entry>::iterator, KeyHash> index_;
};

}  // namespace vistrel::engine
