#pragma once
// The MCI command texts the player understands, read into a value.
//
// Words are separated by blanks and compared without regard to case. "seek to"
// takes the number its argument begins with (blanks skipped, an optional sign,
// then digits; reading stops at the first other character), or the words
// "start" and "end". A seek whose argument does not begin with a number has no
// target and is ignored by the player. A last word "wait" is MCI's wait flag:
// the command returns once it is done.

#include <QString>

#include <cstdint>
#include <optional>

namespace vistrel::player {

struct MciCommand {
    enum class Kind { StatusPosition, StatusLength, StatusMode, SeekTo, Play, Pause, Stop, Unknown };

    Kind kind = Kind::Unknown;
    // SeekTo only: the frame asked for, before clamping to the clip. "end"
    // and numbers too large for 64 bits come out as INT64_MAX.
    std::optional<int64_t> target;
    bool wait = false;
};

MciCommand parseMciCommand(const QString& text);

// The integer a text begins with, or nullopt when it does not begin with one.
// Values beyond 64 bits saturate.
std::optional<int64_t> leadingInteger(QStringView text);

}  // namespace vistrel::player
