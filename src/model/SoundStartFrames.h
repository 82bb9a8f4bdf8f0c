#pragma once
// The start frames that matching the angles by their sound gives, and the
// one message that reports it. Angle A keeps its start frame; each other
// angle found surely enough gets the frame that shows the moment of A's
// start frame. When such an angle started recording after A, A's start
// frame moves on instead, so that no start frame is negative. An angle
// found less surely is named and keeps its place against A: it moves on by
// the time A moved (in its own frames), and a start frame that is not a
// plain whole number is left as it is.

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
};

struct SoundStartFrames {
    std::vector<std::string> startFrames;  // one per clip, A first
    std::string message;
};

// current: the start frames now, A first; found: one per angle after A.
// sure: the confidence below which an angle keeps its start frame.
SoundStartFrames startFramesFromSound(const std::vector<std::string>& current, double fpsA,
                                      const std::vector<SoundMatchFound>& found, double sure);

}  // namespace vistrel::model
