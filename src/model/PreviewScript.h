#pragma once

#include <string>

#include "model/Edit.h"
#include "model/MessageSink.h"
#include "model/PlayerControl.h"
#include "model/ScriptLocations.h"

namespace vistrel::model {

// Every angle side by side, each shrunk to 176 × 120 and started at its
// start frame, blank columns after them up to four: clips + 5 lines.
std::string previewScriptText(const Edit& edit);

// "preview": stops the player and points it at the intro, then, with at
// least 2 clips, writes the preview script and has the player open and play
// it. With fewer clips, or when the script cannot be written, a message
// says why and the player stays on the intro.
void ShowPreview(const Edit& edit, PlayerControl& player, MessageSink& messages, const ScriptLocations& locations);

}  // namespace vistrel::model
