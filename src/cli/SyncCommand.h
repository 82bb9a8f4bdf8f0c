#pragma once
// vistrel-sync's command line, and what it prints: one line per angle after
// A, or the same as JSON.

#include "cli/RenderOptions.h"
#include "sync/StartFrameMatch.h"

#include <QStringList>

#include <string>
#include <variant>
#include <vector>

namespace vistrel::cli {

struct SyncOptions {
    std::vector<std::string> clips;  // angle A first
    double maxOffsetSeconds = 0;     // 0: the shorter clip's length
    bool json = false;
    bool quiet = false;
    bool timings = false;  // where the time went, on stderr
};

// The most clips one run matches: angles A to Z.
inline constexpr size_t kMostSyncClips = 26;

// Parses the arguments (argv[0] first); a usage error carries the text to print.
std::variant<SyncOptions, UsageError> parseSyncOptions(const QStringList& arguments);

// What vistrel-sync prints: one line per angle after A, or the same as JSON.
// "B: start 21  offset 0.840 s  confidence 0.93", then "  unsure" below
// kSureConfidence and "  drift 0.052 s" when the drift is reported.
std::string syncReportText(const std::vector<sync::AngleStart>& starts);

// {"angles": [{"angle": "B", "clip": ..., "start_frame": 21, ...}, ...]}
std::string syncReportJson(const std::vector<std::string>& clips, const std::vector<sync::AngleStart>& starts);

}  // namespace vistrel::cli
