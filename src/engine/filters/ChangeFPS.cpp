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
#include "engine/filters/Factories.h"

#include "engine/ScriptError.h"

#include <cmath>
#include <limits>

namespace vistrel::engine {

namespace {

constexpr int64_t kMostFrames = std::numeric_limits<int32_t>::max();
constexpr int64_t kMostLinearRatio = 10;

// A typed rate of NTSC family (29.97, 23.976, 59.94) is taken as the n * 1000/1001 it stands for.
constexpr double kNtscWithin = 1e-4;

// The rational with the smallest denominator inside [low, high], 0 < low <= high.
Rational simplestBetween(double low, double high) {
    const double whole = std::floor(low);
    if (whole == low) return {static_cast<int64_t>(whole), 1};
    if (whole + 1 <= high) return {static_cast<int64_t>(whole) + 1, 1};
    // low and high share their whole part: continue with the reciprocals of what is left.
    const Rational rest = simplestBetween(1 / (high - whole), 1 / (low - whole));
    return Rational::reduced(static_cast<int64_t>(whole) * rest.num + rest.den, rest.num);
}

// A float rate as AssumeFPS reads it: multiples of 30000/1001 and 24000/1001
// first, else the simplest fraction that is the same number at float precision.
Rational rateFromFloat(double fps) {
    if (!(fps > 0) || !std::isfinite(fps)) throw ScriptError("ChangeFPS: Numerator and denominator must be positive.");
    for (int64_t base : {30000, 24000}) {
        const double step = double(base) / 1001;
        const double multiple = std::round(fps / step);
        if (multiple >= 1 && std::abs(fps / (multiple * step) - 1) < kNtscWithin)
            return Rational::reduced(static_cast<int64_t>(multiple) * base, 1001);
    }
    const float single = static_cast<float>(fps);
    const double below = std::nextafter(single, 0.0f),
                 above = std::nextafter(single, std::numeric_limits<float>::max());
    return simplestBetween((double(single) + below) / 2, (double(single) + above) / 2);
}

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
    return Value(ClipPtr(std::make_shared<ChangeFPS>(args.clip(kClip), rate, args.boolOr(linearSlot, true))));
}

}  // namespace

Value createChangeFPSByRatio(const Args& args, Environment&) {
    const int64_t num = args.intOr(kRate, 0), den = args.intOr(kRate + 1, 1);
    if (num <= 0 || den <= 0) throw ScriptError("ChangeFPS: Numerator and denominator must be positive.");
    return changed(args, Rational::reduced(num, den), kRate + 2);
}

Value createChangeFPSByFloat(const Args& args, Environment&) {
    return changed(args, rateFromFloat(args.floatOr(kRate, 0)), kRate + 1);
}

Value createChangeFPSLikeClip(const Args& args, Environment&) {
    const ClipPtr other = args.clip(kRate);
    if (!other->info().hasVideo())
        throw ScriptError("ChangeFPS: The clip supplied to get the FPS from must contain video.");
    return changed(args, other->info().fps, kRate + 1);
}

}  // namespace vistrel::engine
