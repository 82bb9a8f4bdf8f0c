#pragma once
// The pull model every source and filter follows: a clip describes itself and
// hands out frame n and audio samples [start, start + count).
//
// The public calls apply the two rules every clip shares: frame requests are
// clamped to [0, frameCount - 1], and audio outside [0, audioSamples) is
// silence. A filter implements makeFrame and readAudio for requests that are
// already inside the clip. Both may be called from several threads at once;
// a clip with state of its own (a decoder) guards it itself.

#include "engine/core/Frame.h"
#include "engine/core/VideoInfo.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace vistrel::engine {

class FrameCache;

using FrameUse = std::function<void(const Frame&)>;

class Clip {
public:
    virtual ~Clip();
    Clip(const Clip&) = delete;
    Clip& operator=(const Clip&) = delete;

    const VideoInfo& info() const { return info_; }

    // Frame n, clamped to the clip. Throws ScriptError for a clip without frames.
    FramePtr frame(int64_t n);

    // Hands frame n (clamped) to `use` for the length of the call. A source
    // lends the decoder's own picture instead of copying it out, so a filter
    // that only reads its child's frame to make a new one asks this way.
    // `use` must not ask any clip for frames: the source is held meanwhile.
    void withFrame(int64_t n, const FrameUse& use);

    // Interleaved samples in the clip's sample type; dst holds count * bytesPerAudioFrame() bytes.
    void audio(void* dst, int64_t start, int64_t count);

    // Keeps this clip's output frames in a cache shared by the clips of one
    // script; false for a clip that hands its child's frames on unchanged.
    bool attachCache(std::shared_ptr<FrameCache> cache);

protected:
    explicit Clip(const VideoInfo& info) : info_(info) {}

    virtual FramePtr makeFrame(int64_t n) = 0;
    // Frame n (inside the clip) lent to `use`; false when this clip has no
    // picture of its own to lend, and withFrame falls back to frame().
    virtual bool lendFrame(int64_t, const FrameUse&) { return false; }
    // Called only with [start, start + count) inside [0, audioSamples).
    virtual void readAudio(void* dst, int64_t start, int64_t count) = 0;
    // Filters that hand their child's frames on unchanged gain nothing from a cache.
    virtual bool worthCaching() const { return true; }

    VideoInfo info_;

private:
    // n clamped to the clip; throws for a clip without frames.
    int64_t clampedFrame(int64_t n) const;

    std::shared_ptr<FrameCache> cache_;
};

using ClipPtr = std::shared_ptr<Clip>;

}  // namespace vistrel::engine
