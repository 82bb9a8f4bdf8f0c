#include "engine/clips/AudioSamples.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vistrel::engine {

void readAudioAs(Clip& clip, SampleType wanted, void* dst, int64_t start, int64_t count) {
    const VideoInfo& info = clip.info();
    if (info.sampleType == wanted || !info.hasAudio()) {
        clip.audio(dst, start, count);
        return;
    }
    const size_t values = static_cast<size_t>(count) * static_cast<size_t>(info.channels);
    if (wanted == SampleType::Float32) {
        std::vector<int16_t> source(values);
        clip.audio(source.data(), start, count);
        auto* out = static_cast<float*>(dst);
        for (size_t i = 0; i < values; ++i) out[i] = source[i] / 32768.0f;
    } else {
        std::vector<float> source(values);
        clip.audio(source.data(), start, count);
        auto* out = static_cast<int16_t*>(dst);
        for (size_t i = 0; i < values; ++i)
            out[i] = static_cast<int16_t>(std::clamp(std::lround(source[i] * 32768.0f), -32768L, 32767L));
    }
}

}  // namespace vistrel::engine
