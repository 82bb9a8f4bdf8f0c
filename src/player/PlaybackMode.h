#pragma once
// What the player is doing, with the words "status mode" answers.

#include <QString>

namespace vistrel::player {

enum class PlaybackMode { Stopped, Paused, Playing };

inline QString modeName(PlaybackMode mode) {
    switch (mode) {
    case PlaybackMode::Playing: return QStringLiteral("playing");
    case PlaybackMode::Paused: return QStringLiteral("paused");
    case PlaybackMode::Stopped: break;
    }
    return QStringLiteral("stopped");
}

}  // namespace vistrel::player
