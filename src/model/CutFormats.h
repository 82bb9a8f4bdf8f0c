#pragma once
// The writers of the formats a cut is exported in (CutExport.h lists them).

#include "model/CutExport.h"

namespace vistrel::model {

// OpenTimelineIO's JSON: a timeline with a video track of clips and dissolves and an audio track.
ExportedCut otioText(const CutList& cut);
// Final Cut Pro XML 1.9: a multicam clip of the angles and the cut as mc-clips of it.
ExportedCut fcpxmlText(const CutList& cut);
// A CMX 3600 edit decision list: one video track, the dissolves as two-line events.
ExportedCut edlText(const CutList& cut);

// The cut laid end to end on one track, as formats whose transitions lie
// over the items on either side hold it: where each segment's item begins,
// a crossfade's cut in its middle, a fade-in's after the fade and the black
// frame before it; then where the last item ends, before any fade-out.
std::vector<std::int64_t> trackCuts(const CutList& cut);

}  // namespace vistrel::model
