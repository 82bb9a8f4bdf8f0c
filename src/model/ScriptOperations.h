#pragma once
// The operations that write a script and act on it: the intro and the
// preview shown in the player, "build script" through the save dialog.

#include "model/Edit.h"
#include "model/Ports.h"
#include "model/ScriptLocations.h"

#include <optional>
#include <string>

namespace vistrel::model {

// Writes the intro script and points the player at it (without playing).
// The player is given the intro path even when the write failed, so that it
// shows why it cannot open it; the reason is returned, nothing is shown.
std::optional<std::string> ShowIntro(PlayerControl& player, const ScriptLocations& locations);

// "preview": stops the player and points it at the intro, then, with at
// least 2 clips, writes the preview script and has the player open and play
// it. With fewer clips, or when the script cannot be written, a message
// says why and the player stays on the intro.
void ShowPreview(const Edit& edit, PlayerControl& player, MessageSink& messages, const ScriptLocations& locations);

// "build script": with fewer than 2 switch points only a message; otherwise
// asks the save dialog for a path, writes the script there and reports.
// The path it was saved to; nothing when it was not saved.
std::optional<std::string> buildEditScript(const Edit& edit, FileDialog& saveDialog, MessageSink& messages);

}  // namespace vistrel::model
