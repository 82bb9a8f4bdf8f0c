#include "engine/clips/Dissolve.h"

#include "engine/core/Pixels.h"
#include "engine/core/ScriptError.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace vistrel::engine {

namespace {

VideoInfo startingInfo(const ClipPtr& first, const ClipPtr& second) {
    VideoInfo vi = first->info();
    if (vi.hasAudio() && second->info().hasAudio() && vi.sampleType != second->info().sampleType)
        vi.sampleType = SampleType::Float32;
    return vi;
}

// (a - b) * num / den rounded to the nearest integer, halves away from zero.
int64_t scaleRounded(int64_t diff, int64_t num, int64_t den) {
    const int64_t product = diff * num;
    const int64_t magnitude = (std::llabs(product) + den / 2) / den;
    return product < 0 ? -magnitude : magnitude;
}

// Samples in `overlap` frames at `fps`, for clips without video.
int64_t overlapSamples(int rate, int overlap, double fps) {
    if (!(fps > 0) || !std::isfinite(fps)) throw ScriptError("Dissolve: fps must be a finite number greater than 0");
    const double samples = double(rate) * overlap / fps + 0.5;
    if (!(samples < 0x1p62)) {
        std::ostringstream text;
        text << "Dissolve: an overlap of " << overlap << " frames at " << fps << " fps is too long";
        throw ScriptError(text.str());
    }
    return static_cast<int64_t>(samples);
}

// What sample s of the result is made of.
enum class Mix { First, Ramp, Second };

template <typename Sample>
void mixRamp(Sample* a, const Sample* b, int64_t start, int64_t count, int channels, int64_t fadeStart, int64_t fadeEnd,
             int64_t overlap) {
    const float step = overlap > 0 ? float(1.0 / double(overlap)) : 0.0f;
    for (int64_t i = 0; i < count; ++i) {
        const int64_t s = start + i;
        const int64_t remaining = fadeEnd - s;
        const Mix mix = s < fadeStart          ? Mix::First
                        : remaining <= 0       ? Mix::Second
                        : remaining >= overlap ? Mix::First
                                               : Mix::Ramp;
        if (mix == Mix::First) continue;
        Sample* out = a + i * channels;
        const Sample* in = b + i * channels;
        for (int c = 0; c < channels; ++c) {
            if (mix == Mix::Second) {
                out[c] = in[c];
            } else if constexpr (std::is_same_v<Sample, int16_t>) {
                out[c] = int16_t(in[c] + scaleRounded(int64_t(out[c]) - in[c], remaining, overlap));
            } else {
                const float w = float(remaining) * step;
                out[c] = in[c] + w * (out[c] - in[c]);
            }
        }
    }
}

}  // namespace

Dissolve::Dissolve(ClipPtr first, ClipPtr second, int overlap, double fps)
    : Clip(startingInfo(first, second)), first_(std::move(first)), second_(std::move(second)), overlap_(overlap) {
    checkCompatible(overlap);
    planVideo();
    planAudio(fps);
}

void Dissolve::checkCompatible(int overlap) const {
    const VideoInfo &a = first_->info(), &b = second_->info();
    if (a.hasVideo() != b.hasVideo())
        throw ScriptError("Dissolve: one clip has video and the other doesn't (not allowed)");
    if (a.hasAudio() != b.hasAudio())
        throw ScriptError("Dissolve: one clip has audio and the other doesn't (not allowed)");
    if (overlap < 0) throw ScriptError("Dissolve: Cannot dissolve if overlap is less than zero");
    if (a.hasAudio()) {
        if (a.channels != b.channels) throw ScriptError("Dissolve: The number of audio channels doesn't match");
        if (a.audioRate != b.audioRate)
            throw ScriptError(
                "Dissolve: The audio of the two clips have different samplerates! Use SSRC()/ResampleAudio()");
    }
    if (a.hasVideo()) {
        if (a.width != b.width || a.height != b.height) throw ScriptError("Dissolve: frame sizes don't match");
        if (a.pixelType != b.pixelType) throw ScriptError("Dissolve: video formats don't match");
    }
}

void Dissolve::planVideo() {
    const VideoInfo& a = first_->info();
    if (a.hasVideo()) {
        videoFadeStart_ = std::max<int64_t>(a.frameCount - overlap_, 0);
        videoFadeEnd_ = a.frameCount - 1;
    }
    info_.frameCount = videoFadeStart_ + second_->info().frameCount;
}

void Dissolve::planAudio(double fps) {
    if (!info_.hasAudio()) return;
    const VideoInfo& a = first_->info();
    int64_t start = 0;
    if (a.hasVideo()) {
        start = a.samplesBeforeFrame(a.frameCount - overlap_);
        audioFadeEnd_ = a.samplesBeforeFrame(a.frameCount) - 1;
    } else {
        start = a.audioSamples - overlapSamples(a.audioRate, overlap_, fps);
        audioFadeEnd_ = a.audioSamples - 1;
    }
    audioOverlap_ = audioFadeEnd_ - start;
    audioFadeStart_ = std::max<int64_t>(start, 0);
    info_.audioSamples = audioFadeStart_ + second_->info().audioSamples;
}

FramePtr Dissolve::makeFrame(int64_t n) {
    if (n < videoFadeStart_) return first_->frame(n);
    if (n > videoFadeEnd_) return second_->frame(n - videoFadeStart_);
    FramePtr a = first_->frame(n);
    FramePtr b = second_->frame(n - videoFadeStart_);
    return blendFrames(*a, *b, dissolveWeight(n - videoFadeEnd_ + overlap_ - 1, overlap_));
}

void Dissolve::readSide(Clip& clip, void* dst, int64_t start, int64_t count) const {
    if (clip.info().sampleType == info_.sampleType) {
        clip.audio(dst, start, count);
        return;
    }
    std::vector<int16_t> whole(size_t(count * info_.channels));
    clip.audio(whole.data(), start, count);
    auto* out = static_cast<float*>(dst);
    for (size_t i = 0; i < whole.size(); ++i) out[i] = float(whole[i]) / 32768.0f;
}

void Dissolve::readAudio(void* dst, int64_t start, int64_t count) {
    if (start + count <= audioFadeStart_) {
        readSide(*first_, dst, start, count);
        return;
    }
    if (start >= std::max(audioFadeStart_, audioFadeEnd_)) {
        readSide(*second_, dst, start - audioFadeStart_, count);
        return;
    }
    std::vector<uint8_t> secondPart(size_t(count * info_.bytesPerAudioFrame()));
    readSide(*first_, dst, start, count);
    readSide(*second_, secondPart.data(), start - audioFadeStart_, count);
    if (info_.sampleType == SampleType::Int16)
        mixRamp(static_cast<int16_t*>(dst), reinterpret_cast<const int16_t*>(secondPart.data()), start, count,
                info_.channels, audioFadeStart_, audioFadeEnd_, audioOverlap_);
    else
        mixRamp(static_cast<float*>(dst), reinterpret_cast<const float*>(secondPart.data()), start, count,
                info_.channels, audioFadeStart_, audioFadeEnd_, audioOverlap_);
}

ClipPtr dissolveAll(ClipPtr first, const std::vector<ClipPtr>& others, int overlap, double fps) {
    ClipPtr result = std::move(first);
    for (const ClipPtr& next : others) result = std::make_shared<Dissolve>(result, next, overlap, fps);
    return result;
}

}  // namespace vistrel::engine
