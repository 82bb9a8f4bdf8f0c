#include "engine/clips/Splice.h"

#include "engine/clips/AudioSamples.h"
#include "engine/core/ScriptError.h"

#include <algorithm>
#include <cmath>

namespace vistrel::engine {

namespace {

void checkCompatible(const VideoInfo& a, const VideoInfo& b) {
    const auto fail = [](const char* what) { throw ScriptError(std::string("Splice: ") + what); };
    if (a.hasVideo() != b.hasVideo()) fail("one clip has video and the other doesn't (not allowed)");
    if (a.hasAudio() != b.hasAudio()) fail("one clip has audio and the other doesn't (not allowed)");
    if (a.hasVideo()) {
        if (a.width != b.width || a.height != b.height) fail("Frame sizes don't match");
        if (a.pixelType != b.pixelType) fail("Video formats don't match");
        if (std::fabs(a.fps.toDouble() - b.fps.toDouble()) > 1e-6) fail("Video framerate doesn't match");
    }
    if (a.hasAudio()) {
        if (a.channels != b.channels) fail("The number of audio channels doesn't match");
        if (a.audioRate != b.audioRate)
            fail("The audio of the two clips have different samplerates! Use SSRC()/ResampleAudio()");
    }
}

class Splice : public Clip {
public:
    Splice(ClipPtr first, ClipPtr second, bool aligned)
        : Clip(first->info()), first_(std::move(first)), second_(std::move(second)) {
        const VideoInfo& a = first_->info();
        const VideoInfo& b = second_->info();
        checkCompatible(a, b);
        info_.frameCount = a.frameCount + b.frameCount;
        if (info_.hasAudio()) {
            // Aligned: the first clip's sound is cut or padded to the end of its last frame.
            audioJoin_ = aligned && a.hasVideo() ? a.samplesBeforeFrame(a.frameCount) : a.audioSamples;
            info_.audioSamples = audioJoin_ + b.audioSamples;
            if (a.sampleType != b.sampleType) info_.sampleType = SampleType::Float32;
        }
    }

protected:
    FramePtr makeFrame(int64_t n) override {
        const int64_t firstCount = first_->info().frameCount;
        return n < firstCount ? first_->frame(n) : second_->frame(n - firstCount);
    }

    void readAudio(void* dst, int64_t start, int64_t count) override {
        auto* out = static_cast<uint8_t*>(dst);
        const int64_t end = start + count;
        const int64_t split = std::clamp(audioJoin_, start, end);
        if (split > start) readAudioAs(*first_, info_.sampleType, out, start, split - start);
        if (end > split)
            readAudioAs(*second_, info_.sampleType, out + (split - start) * info_.bytesPerAudioFrame(),
                        split - audioJoin_, end - split);
    }

    bool worthCaching() const override { return false; }

private:
    ClipPtr first_;
    ClipPtr second_;
    int64_t audioJoin_ = 0;  // the first sample of the second clip's sound
};

}  // namespace

ClipPtr makeSplice(ClipPtr first, ClipPtr second, bool aligned) {
    return std::make_shared<Splice>(std::move(first), std::move(second), aligned);
}

}  // namespace vistrel::engine
