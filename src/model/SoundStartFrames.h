#pragma once
// The start frames that matching the angles by their sound gives, and the
// one message that reports it. Angle A keeps its start frame; each other
// angle found surely enough gets the frame that shows the moment of A's
// start frame. When such an angle started recording after A, A's start
// frame moves on instead, so that no start frame is negative. An angle
// found less surely is named and keeps its place against A: it moves on by
// the time A moved (in its own frames), and a start frame that is not a
// plain whole number is left as it is.

#include "model/ClipRate.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vistrel::model {

// What the matching found for one angle after A.
struct SoundMatchFound {
    double offsetSeconds = 0;                 // the angle's time at the moment of A's frame 0
    double fps = 0;                           // the angle's frame rate
    double confidence = 0;                    // 0 to 1
    std::optional<double> driftSeconds = {};  // reported only when it matters
    // Against a sound recording: the angle's frame at the recording's start point.
    std::optional<std::int64_t> startFrame = {};
    // How much faster the angle's clock runs than the reference's, in millionths.
    std::optional<double> driftPpm = {};
    FrameRate rate = {};  // the angle's exact frame rate, when known
};

struct SoundStartFrames {
    std::vector<std::string> startFrames;  // one per clip, A first
    std::string message;
};

// current: the start frames now, A first; found: one per angle after A.
// sure: the confidence below which an angle keeps its start frame.
SoundStartFrames startFramesFromSound(const std::vector<std::string>& current, double fpsA,
                                      const std::vector<SoundMatchFound>& found, double sure);

// The same against a sound recording: the edit starts startMs into the
// recording (vistrel-sync chooses it so that no sure angle starts before its
// first frame), each sure angle at its startFrame there; found: one per
// clip, A included. An unsure angle keeps its place against the recording:
// it moves by as much as the start point moved from currentStartMs.
SoundStartFrames startFramesFromRecording(const std::vector<std::string>& current, const std::string& currentStartMs,
                                          std::int64_t startMs, const std::vector<SoundMatchFound>& found, double sure);

}  // namespace vistrel::model
