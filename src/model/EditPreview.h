#pragma once

#include <cstdint>

#include "model/Edit.h"
#include "model/Ports.h"
#include "model/ScriptLocations.h"

namespace vistrel::model {

// The finished edit away from "build script": the same text, written to the
// script folder instead of a path the user chooses, with the same check
// first ("please add more crossfade points ..." with fewer than 2 switch
// points). A script that cannot be written is a message; the player and the
// files already there are left as they were.

// "Preview the edit": writes the edit to the edit preview script and has the
// player open it, go to editFrame and play; false when it stopped at a message.
bool showEditPreview(const Edit& edit, PlayerControl& player, MessageSink& messages, const ScriptLocations& locations,
                     std::int64_t editFrame);

// Writes the edit for vistrel-render to render; false after the message
// when it cannot.
bool writeRenderScript(const Edit& edit, MessageSink& messages, const ScriptLocations& locations);

}  // namespace vistrel::model
