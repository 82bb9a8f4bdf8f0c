// AudioDub: the pictures of one clip with the sound of another. Neither is
// cut or padded to the other's length.
#include "engine/core/ScriptError.h"
#include "engine/filters/FunctionTable.h"

namespace vistrel::engine {

namespace {

class AudioDub : public Clip {
public:
    AudioDub(ClipPtr video, ClipPtr audio) : Clip(video->info()), video_(std::move(video)), audio_(std::move(audio)) {
        const VideoInfo& sound = audio_->info();
        info_.audioRate = sound.audioRate;
        info_.channels = sound.channels;
        info_.sampleType = sound.sampleType;
        info_.audioSamples = sound.audioSamples;
    }

protected:
    FramePtr makeFrame(int64_t n) override { return video_->frame(n); }
    void readAudio(void* dst, int64_t start, int64_t count) override { audio_->audio(dst, start, count); }
    bool worthCaching() const override { return false; }

private:
    ClipPtr video_;
    ClipPtr audio_;
};

}  // namespace

Value createAudioDub(const Args& args, Environment&) {
    ClipPtr first = args.clip(0);
    ClipPtr second = args.clip(1);
    const VideoInfo& a = first->info();
    const VideoInfo& b = second->info();
    if (a.hasVideo() && b.hasAudio()) return Value(ClipPtr(std::make_shared<AudioDub>(first, second)));
    if (b.hasVideo() && a.hasAudio()) return Value(ClipPtr(std::make_shared<AudioDub>(second, first)));
    throw ScriptError("AudioDub: need an audio and a video track");
}

}  // namespace vistrel::engine
