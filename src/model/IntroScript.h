#pragma once

#include <optional>
#include <string>

#include "model/PlayerControl.h"
#include "model/ScriptLocations.h"

namespace vistrel::model {

// The title card: the version clip with borders, in RGB32, captioned.
std::string introScriptText();

// Writes the intro script and points the player at it (without playing).
// The player is given the intro path even when the write failed, so that it
// shows why it cannot open it; the reason is returned, nothing is shown.
std::optional<std::string> ShowIntro(PlayerControl& player, const ScriptLocations& locations);

}  // namespace vistrel::model
