#pragma once
// The whole job behind "match start frames by sound": opens the clips for
// their sound only, reads them side by side (one thread per core), and
// matches every angle against the reference: angle A (the first clip), or a
// sound recording made beside the cameras, whose sound the edit then uses.

#include "sync/SoundMatch.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vistrel::sync {

// Below this confidence a match is reported as unsure, and the editor
// leaves the angle's start frame as it was.
inline constexpr double kSureConfidence = 0.4;

struct AngleStart {
    SoundMatch match;
    // The frame of the angle that shows the moment the edit starts at: angle
    // A's frame 0, or the recording's start point. Negative when the angle
    // started recording after that moment; 0 for a clip without picture.
    int64_t startFrame = 0;
    engine::Rational fps;  // 0/1: the clip has no picture (a sound recording)
    // The drift over the angle's length, when it exceeds half a frame.
    std::optional<double> driftSeconds;

    bool sure() const { return match.confidence >= kSureConfidence; }
    bool hasPicture() const { return fps.num > 0; }
};

// The sound recording the angles were matched against.
struct SoundRecording {
    std::string path;
    // The recording's time, in milliseconds, that the edit starts at: where
    // the sure angle that started last starts, so that no sure angle starts
    // before its first frame; 0 when every one started before the recording.
    int64_t startMs = 0;
};

// Called from the reading threads, one call at a time: the share of the job
// done, from 0 to 1. May throw to stop the job; the job then throws that.
using JobProgress = std::function<void(double share)>;

// Where the job's time went, in seconds of the wall clock.
struct JobTimes {
    double reading = 0;   // opening the clips, decoding, mixing and resampling their sound
    double matching = 0;  // correlating
};

struct MatchedAngles {
    // Angle A's frame rate, to turn its start frame into a time; 0/1 when A
    // has no picture or the reference is a recording.
    engine::Rational fpsA;
    std::vector<AngleStart> angles;           // one per clip after the reference, in order
    std::optional<SoundRecording> recording;  // when the reference is a recording
};

// Matches every clip after the first against the first, angle A. Throws
// std::runtime_error naming the clip for a clip without sound, and the
// engine's ScriptError for one that cannot be opened or read. Needs at least
// two paths.
MatchedAngles matchStartFrames(const std::vector<std::string>& paths, const MatchOptions& options = {},
                               const JobProgress& progress = {}, JobTimes* times = nullptr);

// Matches every clip against the sound recording (any file with sound, a
// camera's too), chooses the recording's start point and gives each angle's
// start frame at it. Throws as matchStartFrames does. Needs at least one clip.
MatchedAngles matchToRecording(const std::string& recording, const std::vector<std::string>& clips,
                               const MatchOptions& options = {}, const JobProgress& progress = {},
                               JobTimes* times = nullptr);

}  // namespace vistrel::sync
