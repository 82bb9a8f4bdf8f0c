#pragma once
// The texts of the scripts the editor writes: the intro card, the
// four-angle preview and the edit (ScriptOperations.h writes them and has the
// player open them).

#include "model/Edit.h"
#include "model/ScriptText.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vistrel::model {

// The title card: the version clip with borders, in RGB32, captioned.
std::string introScriptText();

// Every angle side by side, each shrunk to 176 × 120 and started at its
// start frame, blank columns after them up to four: clips + 5 lines.
std::string previewScriptText(const Edit& edit);

// The AviSynth edit script of an edit: the overlap, the first clip's sound
// from its start frame on, one section per angle with one trimmed segment
// per switch point, the dissolve of the segments the switch points choose,
// the sound laid under it and the fade lines. 7 + clips × (switch points + 3)
// lines.
std::string editScriptText(const Edit& edit);

// How a script reads a clip: its picture alone (an angle line) and its
// picture with its sound (the audio line of angle A's sound).
struct ClipReading {
    std::function<std::string(const std::string& clip)> picture;
    std::function<std::string(const std::string& clip)> pictureAndSound;
};

// The edit script's lines with each clip read as `reading` says; with
// avisource, killing the sound for a picture alone, it is the edit script.
std::string editScriptText(const Edit& edit, const ClipReading& reading);

// The clip of one angle as its angle line loads it: the clip at that row of
// the clip list, without sound, from its start frame on.
std::string angleSourceText(const Edit& edit, int row);

}  // namespace vistrel::model
