#pragma once

#include <string>

namespace vistrel::model {

// What the edit needs of a clip player: open a file, play, stop, and the
// player's text commands ("status position" answers the frame shown as
// decimal digits, "seek to N" moves to frame N). The window adapts its
// player widget to this; tests pass a recording fake.
class PlayerControl {
public:
    virtual ~PlayerControl() = default;

    virtual void filename(const std::string& path) = 0;
    virtual void play() = 0;
    virtual void stop() = 0;
    virtual std::string sendcommand(const std::string& command) = 0;
};

inline constexpr const char* kStatusPositionCommand = "status position";
inline constexpr const char* kSeekToCommandPrefix = "seek to ";

}  // namespace vistrel::model
