#pragma once

#include <string>

#include "model/Edit.h"
#include "model/FileDialog.h"
#include "model/MessageSink.h"

namespace vistrel::model {

// The AviSynth edit script of an edit: the overlap, the first clip's sound,
// one section per angle with one trimmed segment per switch point, the
// dissolve of the segments the switch points choose, the sound laid under
// it and the fade lines. 7 + clips × (switch points + 3) lines.
std::string editScriptText(const Edit& edit);

// The clip of one angle as its angle line loads it: the clip at that row of
// the clip list, without sound, from its start frame on.
std::string angleSourceText(const Edit& edit, int row);

// "build script": with fewer than 2 switch points only a message; otherwise
// asks the save dialog for a path, writes the script there and reports.
void buildEditScript(const Edit& edit, FileDialog& saveDialog, MessageSink& messages);

}  // namespace vistrel::model
