#pragma once
// Keeps a sound output fed with the open clip's sound while it plays at
// normal speed: it starts at the first sample of the frame shown, so that the
// sound begins in step with the picture, and is silent at any other rate, for
// a clip without sound, and where the device cannot play.
//
// The device plays at its own pace; when the feeder was not called for a
// while (the UI thread was busy) the device runs dry and would from then on
// lag behind the picture. Each feed is therefore told which sample the
// playback clock has reached, and a feeder that has fallen behind it starts
// over from there.

#include "engine/core/Clip.h"
#include "player/SoundOutput.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vistrel::player {

class SoundFeeder {
public:
    static constexpr int kNormalRate = 1000;

    explicit SoundFeeder(std::unique_ptr<SoundOutput> output);

    // Starts the clip's sound at frame `frame` if rate is normal speed.
    void start(const engine::ClipPtr& clip, int64_t frame, int rate);
    void stop();
    // Gives the device what it takes now; called often while playing.
    // clockSample: the sample the picture's clock has reached.
    void feed(int64_t clockSample);

    bool playing() const { return clip_ != nullptr; }
    // The next sample the device will be given.
    int64_t nextSample() const { return nextSample_; }
    // 0 to 100.
    void setVolume(int percent);

private:
    void restartAt(int64_t sample);

    std::unique_ptr<SoundOutput> output_;  // may be null: always silent
    engine::ClipPtr clip_;                 // set while playing
    SoundFormat format_;
    int64_t nextSample_ = 0;
    std::vector<char> buffer_;
};

}  // namespace vistrel::player
