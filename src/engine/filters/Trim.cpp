// Trim: a range of a clip's frames, and the sound that lies under them.
#include "engine/core/ScriptError.h"
#include "engine/filters/FunctionTable.h"

#include <algorithm>

namespace vistrel::engine {

namespace {

// How the end of the range was given.
enum class TrimEnd { LastFrame, Length, End };

struct TrimRange {
    int64_t first = 0;
    int64_t last = 0;        // may be first - 1: an empty range (length=0)
    bool toClipEnd = false;  // positional last frame 0
};

TrimRange rangeFor(int64_t frameCount, int64_t firstFrame, int64_t endValue, TrimEnd form) {
    TrimRange range;
    range.first = std::max<int64_t>(std::min(firstFrame, frameCount - 1), 0);
    switch (form) {
    case TrimEnd::LastFrame: {
        int64_t last = endValue;
        if (endValue == 0) {
            last = frameCount - 1;
            range.toClipEnd = true;
        } else if (endValue < 0) {
            last = range.first - endValue - 1;  // a length counted from the clamped first frame
        }
        range.last = std::max(range.first, std::min(last, frameCount - 1));
        break;
    }
    case TrimEnd::Length:
        if (endValue < 0) throw ScriptError("Trim: Length must be >= 0");
        range.last = std::min(range.first + endValue - 1, frameCount - 1);
        break;
    case TrimEnd::End:
        if (endValue < range.first) throw ScriptError("Trim: End must be >= Start");
        range.last = std::min(endValue, frameCount - 1);
        break;
    }
    return range;
}

class Trim : public Clip {
public:
    Trim(ClipPtr child, const TrimRange& range, bool padAudio)
        : Clip(child->info()), child_(std::move(child)), first_(range.first) {
        const VideoInfo& source = child_->info();
        info_.frameCount = range.last - range.first + 1;
        if (!info_.hasAudio()) return;
        audioOffset_ = source.samplesBeforeFrame(range.first);
        const int64_t audioEnd = source.samplesBeforeFrame(range.last + 1);
        if (padAudio) {
            info_.audioSamples = audioEnd - audioOffset_;
        } else {
            const int64_t end = range.toClipEnd ? source.audioSamples : std::min(audioEnd, source.audioSamples);
            info_.audioSamples = std::max<int64_t>(0, end - audioOffset_);
        }
    }

protected:
    FramePtr makeFrame(int64_t n) override { return child_->frame(first_ + n); }
    bool lendFrame(int64_t n, const FrameUse& use) override {
        child_->withFrame(first_ + n, use);
        return true;
    }
    void readAudio(void* dst, int64_t start, int64_t count) override {
        child_->audio(dst, start + audioOffset_, count);
    }
    bool worthCaching() const override { return false; }

private:
    ClipPtr child_;
    int64_t first_;
    int64_t audioOffset_ = 0;
};

Value makeTrim(const Args& args, TrimEnd form) {
    ClipPtr child = args.clip(0);
    if (!child->info().hasVideo()) throw ScriptError("Trim: Cannot trim if there is no video.");
    const TrimRange range = rangeFor(child->info().frameCount, args.intOr(1, 0), args.intOr(2, 0), form);
    return Value(ClipPtr(std::make_shared<Trim>(std::move(child), range, args.boolOr(3, true))));
}

void requireEndOfRange(const Args& args) {
    // Trim(clip, first) alone matches the length form with no length given.
    if (!args.defined(2)) throw ScriptError("Script error: Invalid arguments to function \"Trim\"");
}

}  // namespace

Value createTrim(const Args& args, Environment&) { return makeTrim(args, TrimEnd::LastFrame); }

Value createTrimByLength(const Args& args, Environment&) {
    requireEndOfRange(args);
    return makeTrim(args, TrimEnd::Length);
}

Value createTrimByEnd(const Args& args, Environment&) {
    requireEndOfRange(args);
    return makeTrim(args, TrimEnd::End);
}

}  // namespace vistrel::engine
