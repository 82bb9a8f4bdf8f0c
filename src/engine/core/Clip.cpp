#include "engine/core/Clip.h"

#include "engine/core/FrameCache.h"
#include "engine/core/ScriptError.h"

#include <algorithm>
#include <cstring>

namespace vistrel::engine {

Clip::~Clip() {
    if (cache_) cache_->forget(this);
}

int64_t Clip::clampedFrame(int64_t n) const {
    if (!info_.hasVideo() || info_.frameCount <= 0) throw ScriptError("This clip has no frames.");
    return std::clamp<int64_t>(n, 0, info_.frameCount - 1);
}

FramePtr Clip::frame(int64_t n) {
    n = clampedFrame(n);
    if (!cache_) return makeFrame(n);
    if (FramePtr hit = cache_->find(this, n)) return hit;
    FramePtr made = makeFrame(n);
    cache_->insert(this, n, made);
    return made;
}

void Clip::withFrame(int64_t n, const FrameUse& use) {
    n = clampedFrame(n);
    // A cached clip's frame is kept, so it is made (or found) as usual.
    if (cache_ || !lendFrame(n, use)) use(*frame(n));
}

void Clip::audio(void* dst, int64_t start, int64_t count) {
    if (count <= 0) return;
    auto* out = static_cast<uint8_t*>(dst);
    const int64_t frameBytes = info_.bytesPerAudioFrame();
    if (!info_.hasAudio()) {
        std::memset(out, 0, static_cast<size_t>(count * std::max<int64_t>(frameBytes, 0)));
        return;
    }
    const int64_t first = std::clamp<int64_t>(start, 0, info_.audioSamples);
    const int64_t last = std::clamp<int64_t>(start + count, 0, info_.audioSamples);
    std::memset(out, 0, static_cast<size_t>(count * frameBytes));
    if (last > first) readAudio(out + (first - start) * frameBytes, first, last - first);
}

bool Clip::attachCache(std::shared_ptr<FrameCache> cache) {
    if (worthCaching()) cache_ = std::move(cache);
    return cache_ != nullptr;
}

}  // namespace vistrel::engine
