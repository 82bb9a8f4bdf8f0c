#pragma once
// The engine's functions: the table scripts run against (each name with its
// signature and body, filters/FunctionTable.cpp) and the entry point of every
// function, one per filter file.

#include "engine/script/FunctionRegistry.h"

#include <vector>

namespace vistrel::engine {

// Every function the engine knows, in one table; overloads follow each other
// and are tried in order.
const std::vector<FunctionDef>& functionTable();

// That table read once, for the evaluator.
const FunctionRegistry& standardFunctions();

Value createAviSource(const Args& args, Environment& env);
Value createWavSource(const Args& args, Environment& env);
Value createFFAudioSource(const Args& args, Environment& env);
Value createFFVideoSource(const Args& args, Environment& env);
Value createKillAudio(const Args& args, Environment& env);
Value createDelayAudio(const Args& args, Environment& env);
Value createTrim(const Args& args, Environment& env);          // Trim(clip, first, last)
Value createTrimByLength(const Args& args, Environment& env);  // Trim(clip, first, length=n)
Value createTrimByEnd(const Args& args, Environment& env);     // Trim(clip, first, end=n)
Value createDissolve(const Args& args, Environment& env);
Value createAudioDub(const Args& args, Environment& env);
// FadeIn, FadeOut and FadeIO reach the colour one frame after the fade; the
// ...0 forms stop one step short of it, the ...2 forms hold it one frame more.
Value createFadeIn(const Args& args, Environment& env);
Value createFadeIn0(const Args& args, Environment& env);
Value createFadeIn2(const Args& args, Environment& env);
Value createFadeOut(const Args& args, Environment& env);
Value createFadeOut0(const Args& args, Environment& env);
Value createFadeOut2(const Args& args, Environment& env);
Value createFadeIO(const Args& args, Environment& env);
Value createFadeIO0(const Args& args, Environment& env);
Value createFadeIO2(const Args& args, Environment& env);
Value createBilinearResize(const Args& args, Environment& env);
Value createConvertToRGB32(const Args& args, Environment& env);
Value createBlankClip(const Args& args, Environment& env);
Value createFrameCount(const Args& args, Environment& env);
Value createFrameRate(const Args& args, Environment& env);
Value createChangeFPSByRatio(const Args& args, Environment& env);   // ChangeFPS(clip, numerator, denominator)
Value createChangeFPSByFloat(const Args& args, Environment& env);   // ChangeFPS(clip, fps)
Value createChangeFPSLikeClip(const Args& args, Environment& env);  // ChangeFPS(clip, other)
Value createAssumeFPSByRatio(const Args& args, Environment& env);   // AssumeFPS(clip, numerator, denominator)
Value createAssumeFPSByFloat(const Args& args, Environment& env);   // AssumeFPS(clip, fps)
Value createAssumeFPSLikeClip(const Args& args, Environment& env);  // AssumeFPS(clip, other)
Value createStackHorizontal(const Args& args, Environment& env);
Value createVersion(const Args& args, Environment& env);
Value createAddBorders(const Args& args, Environment& env);
Value createSubtitle(const Args& args, Environment& env);

}  // namespace vistrel::engine
