#include "cli/Renderer.h"

#include "engine/core/FrameImage.h"

#include <QDir>
#include <QString>

#include <chrono>
#include <iomanip>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace vistrel::cli {

RenderStats render(engine::Clip& clip, int64_t first, int64_t last, FrameSink& sink, ProgressBar& progress) {
    const auto start = std::chrono::steady_clock::now();
    const engine::VideoInfo& info = clip.info();
    const bool sound = sink.wantsSound() && info.hasAudio();
    std::vector<uint8_t> buffer;
    RenderStats stats;
    const int64_t total = last - first + 1;
    // The sound under frames first..last, however long the clip's own sound
    // is: cut at the last picture's end, or filled with silence up to it.
    int64_t nextSample = info.samplesBeforeFrame(first);

    for (int64_t n = first; n <= last; ++n) {
        sink.frame(*clip.frame(n), n);
        ++stats.frames;
        if (sound) {
            const int64_t end = info.samplesBeforeFrame(n + 1);
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

PngSink::PngSink(const std::string& folder) : folder_(folder) {
    if (!QDir().mkpath(QString::fromStdString(folder))) throw std::runtime_error("Cannot create the folder " + folder);
}

void PngSink::frame(const engine::Frame& frame, int64_t number) {
    const QString name =
        QStringLiteral("%1/%2.png").arg(QString::fromStdString(folder_)).arg(number, 6, 10, QLatin1Char('0'));
    if (!engine::toImage(frame).save(name, "PNG")) throw std::runtime_error("Cannot write " + name.toStdString());
}

std::string describeClip(const engine::VideoInfo& info, bool conformedVariableRate) {
    std::ostringstream out;
    out << "width: " << info.width << '\n'
        << "height: " << info.height << '\n'
        << "frames: " << info.frameCount << '\n'
        << "fps: " << info.fps.num << '/' << info.fps.den << '\n'
        << "pixel_type: " << (info.hasVideo() ? engine::pixelTypeName(info.pixelType) : "none") << '\n'
        << "audio_rate: " << (info.hasAudio() ? info.audioRate : 0) << '\n'
        << "audio_channels: " << (info.hasAudio() ? info.channels : 0) << '\n'
        << "audio_samples: " << (info.hasAudio() ? info.audioSamples : 0) << '\n';
    const double videoSeconds = info.fps.num > 0 ? double(info.frameCount) * info.fps.den / info.fps.num : 0.0;
    const double audioSeconds = info.hasAudio() ? double(info.audioSamples) / info.audioRate : 0.0;
    out << std::fixed << std::setprecision(3) << "video_seconds: " << videoSeconds << '\n'
        << "audio_seconds: " << audioSeconds << '\n';
    if (conformedVariableRate) out << "timing: variable, conformed to " << info.fps.num << '/' << info.fps.den << '\n';
    return out.str();
}

}  // namespace vistrel::cli
