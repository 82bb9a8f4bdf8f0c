#pragma once
// An angle's sound as the matching reads it: one channel (the channels
// mixed), at a reduced rate of kSoundRate, from the clip's first sample to
// its last, so that sample i lies i / kSoundRate seconds after the clip's
// frame 0. The clip's frame rate comes along, to turn times into frames, and
// what the matching derives from the samples for every angle it is matched
// with.

#include "engine/core/Clip.h"

#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <vector>

namespace vistrel::sync {

// Speech, claps and music keep most of what tells them apart below 4 kHz;
// a low rate keeps the hour-long sound of four angles in memory and the
// transforms short.
inline constexpr int kSoundRate = 8000;

struct AngleSound {
    std::vector<float> samples;
    std::vector<double> envelope;         // loudnessContour(samples)
    std::vector<double> energyPerSecond;  // the sum of the squared samples of each whole second
    engine::Rational fps;
    int64_t frameCount = 0;

    double seconds() const { return double(samples.size()) / kSoundRate; }
};

// The sound with what the matching derives from it once.
AngleSound describeSound(std::vector<float> samples, engine::Rational fps, int64_t frameCount);

// The clip has no sound to match.
class NoSoundError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Called while the sound is read: samples of the clip read so far and in all.
// May throw to stop the reading; readAngleSound then throws that exception.
using ReadProgress = std::function<void(int64_t done, int64_t total)>;

// Decodes the clip's whole sound (only the sound: open it with
// OpenOptions::soundOnly). Throws NoSoundError, or the engine's ScriptError
// for a file that fails while it is read.
AngleSound readAngleSound(engine::Clip& clip, const ReadProgress& progress = {});

// The clip's sound cut into about `parts` parts that are read apart (each
// from a clip of its own) and joined: the first sample of each part and the
// end of the last. Every cut falls where a sample at kSoundRate does, so that
// the parts' samples line up end to end.
std::vector<int64_t> soundParts(const engine::VideoInfo& info, size_t parts);

// The samples at kSoundRate of the clip's sound from its sample `from` (a
// cut of soundParts) to `to`, written to `out` (sized soundLength(to - from),
// where they start at soundLength(from) of the whole). progress counts the
// clip's samples of the part.
void readSoundPart(engine::Clip& clip, int64_t from, int64_t to, std::span<float> out,
                   const ReadProgress& progress = {});

// How many samples at kSoundRate the clip's first `samples` make.
inline size_t soundLength(const engine::VideoInfo& info, int64_t samples) {
    return static_cast<size_t>(samples * kSoundRate / info.audioRate);
}

}  // namespace vistrel::sync
