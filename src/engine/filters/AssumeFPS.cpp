// AssumeFPS: the same frames at another frame rate, so that the clip plays
// faster or slower. Three forms:
//   AssumeFPS(clip, int numerator [, int denominator = 1] [, bool sync_audio = false])
//   AssumeFPS(clip, float fps [, bool sync_audio])   (a float rate read as FloatRate.h says)
//   AssumeFPS(clip, clip other [, bool sync_audio])  (the other clip's exact rate)
// The sound is untouched; with sync_audio its rate changes by the same
// ratio as the frame rate (rounded to a whole rate), so that it lasts as long
// as the pictures do and its pitch moves: rate * new / old, rounded.
#include "engine/clips/FloatRate.h"
#include "engine/core/ScriptError.h"
#include "engine/filters/FunctionTable.h"

#include <limits>
#include <sstream>

namespace vistrel::engine {

namespace {

class AssumeFPS : public Clip {
public:
    AssumeFPS(ClipPtr child, Rational rate, bool syncAudio) : Clip(child->info()), child_(std::move(child)) {
        const Rational old = info_.fps;
        info_.fps = rate;
        if (!syncAudio || !info_.hasAudio() || old.num <= 0) return;
        // rate * new / old, rounded half up, in whole numbers.
        const int64_t a = old.num * rate.den, b = old.den * rate.num;
        const double estimate = double(info_.audioRate) * double(b) / double(a);
        if (!(estimate >= 1 && estimate <= std::numeric_limits<int>::max()) || double(info_.audioRate) * b >= 0x1p62) {
            std::ostringstream text;
            text << "AssumeFPS: sync_audio would make the sound's rate " << estimate << " Hz";
            throw ScriptError(text.str());
        }
        info_.audioRate = static_cast<int>((info_.audioRate * b + a / 2) / a);
    }

protected:
    FramePtr makeFrame(int64_t n) override { return child_->frame(n); }
    bool lendFrame(int64_t n, const FrameUse& use) override {
        child_->withFrame(n, use);
        return true;
    }
    void readAudio(void* dst, int64_t start, int64_t count) override { child_->audio(dst, start, count); }
    bool worthCaching() const override { return false; }

private:
    ClipPtr child_;
};

constexpr size_t kClip = 0, kRate = 1;

Value assumed(const Args& args, Rational rate, size_t syncSlot) {
    return Value(ClipPtr(std::make_shared<AssumeFPS>(args.clip(kClip), rate, args.boolOr(syncSlot, false))));
}

}  // namespace

Value createAssumeFPSByRatio(const Args& args, Environment&) {
    const int64_t num = args.intOr(kRate, 0), den = args.intOr(kRate + 1, 1);
    if (den == 0) throw ScriptError("AssumeFPS: Denominator cannot be 0 (zero).");
    if (num <= 0 || den < 0) throw ScriptError("AssumeFPS: Numerator and denominator must be positive.");
    return assumed(args, Rational::reduced(num, den), kRate + 2);
}

Value createAssumeFPSByFloat(const Args& args, Environment&) {
    return assumed(args, rateFromFloat(args.floatOr(kRate, 0), "AssumeFPS"), kRate + 1);
}

Value createAssumeFPSLikeClip(const Args& args, Environment&) {
    const ClipPtr other = args.clip(kRate);
    if (!other->info().hasVideo())
        throw ScriptError("AssumeFPS: The clip supplied to get the FPS from must contain video.");
    return assumed(args, other->info().fps, kRate + 1);
}

}  // namespace vistrel::engine
