#include "cli/Renderer.h"

#include <chrono>
#include <vector>

namespace vistrel::cli {

RenderStats render(engine::Clip& clip, int64_t first, int64_t last, FrameSink& sink, ProgressBar& progress) {
    const auto start = std::chrono::steady_clock::now();
    const engine::VideoInfo& info = clip.info();
    const bool sound = sink.wantsSound() && info.hasAudio();
    std::vector<uint8_t> buffer;
    RenderStats stats;
    const int64_t total = last - first + 1;
    // The sound under frames first..last; the whole track when the range is the whole clip.
    const bool wholeClip = first == 0 && last == info.frameCount - 1;
    int64_t nextSample = info.samplesBeforeFrame(first);

    for (int64_t n = first; n <= last; ++n) {
        sink.frame(*clip.frame(n), n - first);
        ++stats.frames;
        if (sound) {
            const int64_t end = (wholeClip && n == last) ? info.audioSamples : info.samplesBeforeFrame(n + 1);
            if (end > nextSample) {
                buffer.resize(static_cast<size_t>((end - nextSample) * info.bytesPerAudioFrame()));
                clip.audio(buffer.data(), nextSample, end - nextSample);
                sink.samples(buffer.data(), end - nextSample);
                stats.samples += end - nextSample;
                nextSample = end;
            }
        }
        progress.frames(n - first + 1, total);
    }
    sink.finish();
    progress.finish();
    stats.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return stats;
}

}  // namespace vistrel::cli
