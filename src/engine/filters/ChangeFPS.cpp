// ChangeFPS: a clip at another frame rate by time, repeating or leaving out
// frames, so that it plays at its own speed. Three forms:
//   ChangeFPS(clip, int numerator [, int denominator] [, bool linear])
//   ChangeFPS(clip, float fps [, bool linear])
//   ChangeFPS(clip, clip other [, bool linear])   (the other clip's exact rate)
// With the old rate n0/d0 and the new n1/d1, a = n0 * d1 and b = d0 * n1:
// the clip has (N * b + a / 2) / a frames and frame n shows frame n * a / b,
// floored. The sound is the child's, unchanged. `linear` asks AviSynth to
// decode the frames it leaves out on the way; the sources here seek exactly,
// so it only limits the ratio, as AviSynth does.
#include "engine/filters/ChangeFPS.h"
#include "engine/filters/Factories.h"

#include "engine/ScriptError.h"
#include "engine/filters/FloatRate.h"

#include <limits>

namespace vistrel::engine {

namespace {

constexpr int64_t kMostFrames = std::numeric_limits<int32_t>::max();
constexpr int64_t kMostLinearRatio = 10;

class ChangeFPS : public Clip {
public:
    ChangeFPS(ClipPtr child, Rational rate, bool linear) : Clip(child->info()), child_(std::move(child)) {
        const VideoInfo& old = child_->info();
        if (!old.hasVideo() || old.fps.num <= 0) throw ScriptError("ChangeFPS: The clip has no video.");
        a_ = old.fps.num * rate.den;
        b_ = old.fps.den * rate.num;
        if (linear && (a_ + b_ / 2) / b_ > kMostLinearRatio)
            throw ScriptError("ChangeFPS: Ratio must be less than 10 for linear access. Set LINEAR=False.");
        const int64_t frames = (old.frameCount * b_ + a_ / 2) / a_;
        if (frames > kMostFrames) throw ScriptError("ChangeFPS: Maximum number of frames exceeded.");
        info_.fps = rate;
        info_.frameCount = frames;
    }

protected:
    FramePtr makeFrame(int64_t n) override { return child_->frame(n * a_ / b_); }
    bool lendFrame(int64_t n, const FrameUse& use) override {
        child_->withFrame(n * a_ / b_, use);
        return true;
    }
    void readAudio(void* dst, int64_t start, int64_t count) override { child_->audio(dst, start, count); }
    bool worthCaching() const override { return false; }

private:
    ClipPtr child_;
    int64_t a_ = 1;
    int64_t b_ = 1;
};

constexpr size_t kClip = 0, kRate = 1;

Value changed(const Args& args, Rational rate, size_t linearSlot) {
    if (rate.num <= 0 || rate.den <= 0) throw ScriptError("ChangeFPS: Numerator and denominator must be positive.");
    return Value(changeFps(args.clip(kClip), rate, args.boolOr(linearSlot, true)));
}

}  // namespace

ClipPtr changeFps(ClipPtr child, Rational rate, bool linear) {
    return std::make_shared<ChangeFPS>(std::move(child), rate, linear);
}

Value createChangeFPSByRatio(const Args& args, Environment&) {
    const int64_t num = args.intOr(kRate, 0), den = args.intOr(kRate + 1, 1);
    if (num <= 0 || den <= 0) throw ScriptError("ChangeFPS: Numerator and denominator must be positive.");
    return changed(args, Rational::reduced(num, den), kRate + 2);
}

Value createChangeFPSByFloat(const Args& args, Environment&) {
    return changed(args, rateFromFloat(args.floatOr(kRate, 0), "ChangeFPS"), kRate + 1);
}

Value createChangeFPSLikeClip(const Args& args, Environment&) {
    const ClipPtr other = args.clip(kRate);
    if (!other->info().hasVideo())
        throw ScriptError("ChangeFPS: The clip supplied to get the FPS from must contain video.");
    return changed(args, other->info().fps, kRate + 1);
}

}  // namespace vistrel::engine
