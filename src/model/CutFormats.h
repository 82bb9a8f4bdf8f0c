#pragma once
// The writers of the formats a cut is exported in (CutExport.h lists them).

#include "model/CutExport.h"

namespace vistrel::model {

// A CMX 3600 edit decision list: one video track, the dissolves as two-line events.
ExportedCut edlText(const CutList& cut);

}  // namespace vistrel::model
