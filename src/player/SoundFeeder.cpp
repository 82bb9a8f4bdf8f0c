#include "player/SoundFeeder.h"

#include <algorithm>
#include <exception>

namespace vistrel::player {

namespace {
// The most handed over at once, in seconds of sound, whatever the device offers.
constexpr int64_t kMostSecondsPerFeed = 1;
// How far the sound may fall behind the clock before it starts over: a fifth of a second.
constexpr int64_t kLagTolerancePerSecond = 5;
}  // namespace

SoundFeeder::SoundFeeder(std::unique_ptr<SoundOutput> output) : output_(std::move(output)) {}

void SoundFeeder::start(const engine::ClipPtr& clip, int64_t frame, int rate) {
    stop();
    if (!output_ || !clip || rate != kNormalRate || !clip->info().hasAudio()) return;
    const engine::VideoInfo& info = clip->info();
    format_ = {info.audioRate, info.channels, info.sampleType};
    if (!output_->start(format_)) return;
    clip_ = clip;
    nextSample_ = info.samplesBeforeFrame(frame);
    feed(nextSample_);
}

void SoundFeeder::restartAt(int64_t sample) {
    output_->stop();
    if (!output_->start(format_)) {
        clip_.reset();
        return;
    }
    nextSample_ = sample;
}

void SoundFeeder::stop() {
    if (clip_ && output_) output_->stop();
    clip_.reset();
}

void SoundFeeder::feed(int64_t clockSample) {
    if (!clip_) return;
    if (output_->failed()) {
        stop();
        return;
    }
    const engine::VideoInfo& info = clip_->info();
    if (nextSample_ < clockSample - info.audioRate / kLagTolerancePerSecond) {
        restartAt(clockSample);
        if (!clip_) return;
    }
    const int64_t frameBytes = info.bytesPerAudioFrame();
    const int64_t samples = std::min(output_->bytesFree() / frameBytes, kMostSecondsPerFeed * info.audioRate);
    if (samples <= 0) return;
    buffer_.resize(static_cast<size_t>(samples * frameBytes));
    try {
        clip_->audio(buffer_.data(), nextSample_, samples);
    } catch (const std::exception&) {
        // Sound that cannot be decoded is left out; the picture plays on.
        stop();
        return;
    }
    output_->write(buffer_.data(), samples * frameBytes);
    nextSample_ += samples;
}

void SoundFeeder::setVolume(int percent) {
    if (output_) output_->setVolume(std::clamp(percent, 0, 100) / 100.0);
}

}  // namespace vistrel::player
