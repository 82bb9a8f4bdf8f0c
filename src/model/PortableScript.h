#pragma once
// The edit as an AviSynth+ script that runs wherever AviSynth+ and the FFMS2
// plugin do. AviSynth's AVISource opens AVI files only, so every angle that
// is not one, and every conformed angle (a one-line script Vistrel wrote
// under the conformed folder), is read from its original file with
// FFVideoSource, its sound with FFAudioSource joined by AudioDub, and what
// the conform script did to it written inline (ChangeFPS, AssumeFPS,
// BilinearResize, AddBorders). Everything else is the edit script's own
// lines: the same trims, dissolves, sound and fades, the same frames.

#include "model/CutExport.h"
#include "model/Edit.h"

#include <string>

namespace vistrel::model {

// Angle A without sound is read for its pictures alone (FFAudioSource refuses a file without sound),
// so that the edit stays silent as the edit script's is.
std::string portableScriptText(const Edit& edit, bool angleAHasSound = true);

// The portable script of the edit a cut was computed from.
ExportedCut portableScript(const CutList& cut);

}  // namespace vistrel::model
