#pragma once
// vistrel-sync's command line, and what it prints: one line per angle after
// A, or the same as JSON, which the editor reads back when it runs
// vistrel-sync for its "match start frames by sound".

#include "cli/RenderOptions.h"
#include "sync/StartFrameMatch.h"

#include <QByteArray>
#include <QStringList>

#include <string>
#include <variant>
#include <vector>

namespace vistrel::cli {

struct SyncOptions {
    std::vector<std::string> clips;  // angle A first
    double maxOffsetSeconds = 0;     // 0: the longer clip's length
    bool json = false;
    bool quiet = false;
    bool progressLines = false;  // progress for a program: "matching N of 1000" lines on stdout
    bool timings = false;        // where the time went, on stderr
};

// The most clips one run matches: angles A to Z.
inline constexpr size_t kMostSyncClips = 26;

// Parses the arguments (argv[0] first); a usage error carries the text to print.
std::variant<SyncOptions, UsageError> parseSyncOptions(const QStringList& arguments);

// What vistrel-sync prints: one line per angle after A, or the same as JSON.
// "B: start 21  offset 0.840 s  confidence 0.93", then "  unsure" below
// kSureConfidence and "  drift 0.052 s" when the drift is reported.
std::string syncReportText(const std::vector<sync::AngleStart>& starts);

// {"angle_a": ..., "fps_a": "25/1", "angles": [{"angle": "B", "clip": ..., "start_frame": 21, ...}, ...]}
std::string syncReportJson(const std::vector<std::string>& clips, const sync::MatchedAngles& found);

// The angles back from that JSON, the confidence as printed (two decimals,
// rounded down). Throws std::runtime_error for a report it cannot read.
sync::MatchedAngles readSyncReportJson(const QByteArray& json);

}  // namespace vistrel::cli
