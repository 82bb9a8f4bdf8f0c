#pragma once
// What vistrel-sync prints: one line per angle after A, or the same as JSON.

#include "sync/StartFrameMatch.h"

#include <string>
#include <vector>

namespace vistrel::cli {

// "B: start 21  offset 0.840 s  confidence 0.93", then "  unsure" below
// kSureConfidence and "  drift 0.052 s" when the drift is reported.
std::string syncReportText(const std::vector<sync::AngleStart>& starts);

// {"angles": [{"angle": "B", "clip": ..., "start_frame": 21, ...}, ...]}
std::string syncReportJson(const std::vector<std::string>& clips, const std::vector<sync::AngleStart>& starts);

}  // namespace vistrel::cli
