#include "sync/AngleSound.h"

#include "engine/core/FFmpegPtr.h"
#include "sync/Envelope.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <new>
#include <numeric>
#include <string>

namespace vistrel::sync {

namespace {

constexpr int64_t kChunkSeconds = 1;
// swresample's anti-alias filter, shorter than its default: the matching
// needs no hi-fi, and the filter is most of the resampling's cost.
constexpr int kFilterSize = 8;

// Mixes the channels to one and resamples to kSoundRate in one pass.
class MonoResampler {
public:
    explicit MonoResampler(const engine::VideoInfo& info) {
        AVChannelLayout in, out;
        av_channel_layout_default(&in, info.channels);
        av_channel_layout_default(&out, 1);
        const AVSampleFormat format =
            info.sampleType == engine::SampleType::Int16 ? AV_SAMPLE_FMT_S16 : AV_SAMPLE_FMT_FLT;
        SwrContext* made = nullptr;
        if (swr_alloc_set_opts2(&made, &out, AV_SAMPLE_FMT_FLT, kSoundRate, &in, format, info.audioRate, 0, nullptr) <
            0)
            throw std::bad_alloc();
        swr_.reset(made);
        av_opt_set_int(swr_.get(), "filter_size", kFilterSize, 0);
        if (const int rc = swr_init(swr_.get()); rc < 0)
            throw std::runtime_error("Cannot resample the sound: " + engine::err2str(rc));
    }

    // Resamples count input frames (nullptr: the end) and appends the result.
    void push(const uint8_t* input, int count, std::vector<float>& output) {
        const int room = swr_get_out_samples(swr_.get(), count);
        const size_t at = output.size();
        output.resize(at + static_cast<size_t>(std::max(room, 0)));
        auto* target = reinterpret_cast<uint8_t*>(output.data() + at);
        const uint8_t** source = input ? &input : nullptr;
        const int made = swr_convert(swr_.get(), &target, room, source, count);
        if (made < 0) throw std::runtime_error("Cannot resample the sound: " + engine::err2str(made));
        output.resize(at + static_cast<size_t>(made));
    }

private:
    engine::SwrContextUPtr swr_;
};

}  // namespace

AngleSound describeSound(std::vector<float> samples, engine::Rational fps, int64_t frameCount) {
    AngleSound sound;
    sound.samples = std::move(samples);
    sound.envelope = loudnessContour(sound.samples);
    sound.energyPerSecond.resize(sound.samples.size() / kSoundRate);
    for (size_t s = 0; s < sound.energyPerSecond.size(); ++s) {
        double sum = 0;
        for (size_t i = s * kSoundRate; i < (s + 1) * kSoundRate; ++i)
            sum += double(sound.samples[i]) * sound.samples[i];
        sound.energyPerSecond[s] = sum;
    }
    sound.fps = fps;
    sound.frameCount = frameCount;
    return sound;
}

std::vector<int64_t> soundParts(const engine::VideoInfo& info, size_t parts) {
    // Every `step` samples of the clip's rate make a whole number at kSoundRate.
    const int64_t step = info.audioRate / std::gcd(info.audioRate, kSoundRate);
    std::vector<int64_t> cuts{0};
    for (size_t k = 1; k < parts; ++k) {
        const int64_t cut = info.audioSamples * int64_t(k) / int64_t(parts) / step * step;
        if (cut > cuts.back()) cuts.push_back(cut);
    }
    cuts.push_back(info.audioSamples);
    return cuts;
}

void readSoundPart(engine::Clip& clip, int64_t from, int64_t to, std::span<float> out, const ReadProgress& progress) {
    const engine::VideoInfo& info = clip.info();
    MonoResampler resampler(info);
    const int64_t chunk = int64_t(info.audioRate) * kChunkSeconds;
    std::vector<uint8_t> buffer(static_cast<size_t>(chunk * info.bytesPerAudioFrame()));
    std::vector<float> resampled;
    size_t written = 0;
    // The part's length at the reduced rate, whatever the resampler's rounding.
    const auto keep = [&] {
        const size_t count = std::min(resampled.size(), out.size() - written);
        std::copy_n(resampled.begin(), count, out.begin() + static_cast<std::ptrdiff_t>(written));
        written += count;
        resampled.clear();
    };
    for (int64_t start = from; start < to; start += chunk) {
        const int64_t count = std::min(chunk, to - start);
        clip.audio(buffer.data(), start, count);
        resampler.push(buffer.data(), static_cast<int>(count), resampled);
        keep();
        if (progress) progress(start + count - from, to - from);
    }
    resampler.push(nullptr, 0, resampled);
    keep();
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(written), out.end(), 0.0f);
}

AngleSound readAngleSound(engine::Clip& clip, const ReadProgress& progress) {
    const engine::VideoInfo& info = clip.info();
    if (!info.hasAudio() || info.audioSamples <= 0) throw NoSoundError("The clip has no sound.");
    std::vector<float> samples(soundLength(info, info.audioSamples));
    readSoundPart(clip, 0, info.audioSamples, samples, progress);
    return describeSound(std::move(samples), info.fps, info.frameCount);
}

}  // namespace vistrel::sync
