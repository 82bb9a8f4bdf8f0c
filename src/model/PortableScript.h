#pragma once
// The edit as an AviSynth+ script that runs wherever AviSynth+ and the FFMS2
// plugin do. AviSynth's AVISource opens AVI files only, so every angle that
// is not one, and every conformed angle (a one-line script Vistrel wrote
// under the conformed folder), is read from its original file with
// FFVideoSource, its sound with FFAudioSource joined by AudioDub, and what
// the conform script did to it written inline (ChangeFPS, AssumeFPS,
// BilinearResize, AddBorders). Everything else is the edit script's own
// lines: the same trims, dissolves, sound and fades, the same frames.

#include "model/Edit.h"

#include <optional>
#include <string>

namespace vistrel::model {

std::string portableScriptText(const Edit& edit);

// Writes the portable script whole (or not at all); the reason when it could not.
std::optional<std::string> savePortableScript(const Edit& edit, const std::string& path);

}  // namespace vistrel::model
