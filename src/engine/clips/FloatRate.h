#pragma once
// A frame rate typed as a float, as AssumeFPS and ChangeFPS read it.

#include "engine/core/VideoInfo.h"

#include <string>

namespace vistrel::engine {

// Multiples of 30000/1001 and 24000/1001 first (29.97 is 30000/1001, 23.976
// is 24000/1001, 59.94 is 60000/1001), else the fraction with the smallest
// denominator that is the same number at float precision (12.5 is 25/2).
// Throws ScriptError "<function>: Numerator and denominator must be positive."
// for a rate that is not a number above 0.
Rational rateFromFloat(double fps, const std::string& function);

}  // namespace vistrel::engine
