#pragma once
// Angles of different picture sizes fitted into angle A's. The edit joins
// its segments with dissolves, which need one picture size: a 1280x720
// angle beside 640x360 ones previews side by side but cannot be joined.
// When a clip's size differs from angle A's, one question offers to fit it;
// yes writes a small script under the conformed folder that resizes the
// clip into A's size keeping its shape, with black borders where the shapes
// differ, and puts that script in the clip's place.

#include "model/ClipRate.h"
#include "model/MixedRates.h"
#include "model/StringList.h"

#include <optional>
#include <string>
#include <vector>

namespace vistrel::model {

// Offers to fit the clips at the given rows (never row 0, angle A) whose
// size differs from angle A's; replaces those the user agrees to fit.
void offerToFit(StringList& clips, const std::vector<int>& rows, RateMatching& matching);

// The fit script's text: one line,
// AddBorders(BilinearResize(avisource("<clip>"), w, h), left, top, right, bottom),
// or BilinearResize alone when the shapes are the same.
std::string fitScriptText(const std::string& clipPath, FrameSize from, FrameSize into);

// "Angle B is 1280x720, angle A 640x360." for every angle whose size differs
// from angle A's; nothing when they all agree (or a size is unknown).
std::optional<std::string> sizesThatDiffer(const StringList& clips, ClipRateProbe& probe);

}  // namespace vistrel::model
