#pragma once
// Reading a clip's sound in a sample type other than its own.

#include "engine/core/Clip.h"

namespace vistrel::engine {

// Like clip.audio(), but delivers `wanted` samples: int16 becomes float as
// value / 32768, float becomes int16 rounded and clipped.
void readAudioAs(Clip& clip, SampleType wanted, void* dst, int64_t start, int64_t count);

}  // namespace vistrel::engine
