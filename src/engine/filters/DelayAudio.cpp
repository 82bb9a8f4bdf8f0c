// DelayAudio(clip, float seconds): the sound later by `seconds` (silence
// before it), or earlier for a negative value (its start left out); the
// pictures are untouched. The delay in samples is seconds * rate + 0.5,
// truncated toward zero, as AviSynth counts it, and the sound is that much
// longer (or shorter, never below none).
#include "engine/core/ScriptError.h"
#include "engine/filters/FunctionTable.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace vistrel::engine {

namespace {

constexpr double kMostSamples = 0x1p62;

class DelayAudio : public Clip {
public:
    DelayAudio(ClipPtr child, double seconds) : Clip(child->info()), child_(std::move(child)) {
        if (!info_.hasAudio()) return;
        const double samples = seconds * info_.audioRate + 0.5;
        if (!(std::abs(samples) < kMostSamples)) {
            std::ostringstream text;
            text << "DelayAudio: a delay of " << seconds << " seconds is too long";
            throw ScriptError(text.str());
        }
        delay_ = static_cast<int64_t>(samples);
        info_.audioSamples = std::max<int64_t>(0, info_.audioSamples + delay_);
    }

protected:
    FramePtr makeFrame(int64_t n) override { return child_->frame(n); }
    bool lendFrame(int64_t n, const FrameUse& use) override {
        child_->withFrame(n, use);
        return true;
    }
    void readAudio(void* dst, int64_t start, int64_t count) override { child_->audio(dst, start - delay_, count); }
    bool worthCaching() const override { return false; }

private:
    ClipPtr child_;
    int64_t delay_ = 0;  // in samples: positive later, negative earlier
};

}  // namespace

Value createDelayAudio(const Args& args, Environment&) {
    return Value(ClipPtr(std::make_shared<DelayAudio>(args.clip(0), args.floatOr(1, 0.0))));
}

}  // namespace vistrel::engine
