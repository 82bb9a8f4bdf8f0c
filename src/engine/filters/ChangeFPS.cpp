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
#include "engine/clips/ChangeFPS.h"

#include "engine/clips/FloatRate.h"
#include "engine/core/ScriptError.h"
#include "engine/filters/FunctionTable.h"

namespace vistrel::engine {

namespace {

constexpr size_t kClip = 0, kRate = 1;

Value changed(const Args& args, Rational rate, size_t linearSlot) {
    if (rate.num <= 0 || rate.den <= 0) throw ScriptError("ChangeFPS: Numerator and denominator must be positive.");
    return Value(changeFps(args.clip(kClip), rate, args.boolOr(linearSlot, true)));
}

}  // namespace

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
