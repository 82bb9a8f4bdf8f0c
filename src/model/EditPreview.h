#pragma once

#include "model/Edit.h"
#include "model/Ports.h"
#include "model/ScriptLocations.h"

#include <cstdint>
#include <memory>

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

// The check of both, which "Render video…" makes before it asks for the
// file: false after the message when the edit has too few switch points.
bool enoughSwitchPoints(const Edit& edit, MessageSink& messages);

// Once the file is chosen: the edit written for vistrel-render to a script
// of this one render's own (ScriptLocations::renderScriptTemplate), removed
// when the result goes away; null after the message when it cannot be written.
std::unique_ptr<TemporaryScriptFile> writeRenderScript(const Edit& edit, MessageSink& messages,
                                                       const ScriptLocations& locations);

}  // namespace vistrel::model
