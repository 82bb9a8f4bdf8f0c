#include "sync/AngleSound.h"

#include "engine/FFmpegPtr.h"
#include "sync/Envelope.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <new>
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

AngleSound readAngleSound(engine::Clip& clip, const ReadProgress& progress) {
    const engine::VideoInfo& info = clip.info();
    if (!info.hasAudio() || info.audioSamples <= 0) throw NoSoundError("The clip has no sound.");

    std::vector<float> samples;
    samples.reserve(static_cast<size_t>(info.audioSamples * kSoundRate / info.audioRate + kSoundRate));

    MonoResampler resampler(info);
    const int64_t chunk = int64_t(info.audioRate) * kChunkSeconds;
    std::vector<uint8_t> buffer(static_cast<size_t>(chunk * info.bytesPerAudioFrame()));
    for (int64_t start = 0; start < info.audioSamples; start += chunk) {
        const int64_t count = std::min(chunk, info.audioSamples - start);
        clip.audio(buffer.data(), start, count);
        resampler.push(buffer.data(), static_cast<int>(count), samples);
        if (progress) progress(start + count, info.audioSamples);
    }
    resampler.push(nullptr, 0, samples);
    // The clip's length at the reduced rate, whatever the resampler's rounding.
    samples.resize(static_cast<size_t>(info.audioSamples * kSoundRate / info.audioRate));
    return describeSound(std::move(samples), info.fps, info.frameCount);
}

}  // namespace vistrel::sync
