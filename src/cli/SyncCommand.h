#pragma once
// vistrel-sync's command line, and what it prints: one line per angle after
// A (with --sound, a line for the recording and one per angle from A), or
// the same as JSON, which the editor reads back when it runs vistrel-sync
// for its "match start frames by sound".

#include "cli/RenderOptions.h"
#include "sync/StartFrameMatch.h"

#include <QByteArray>
#include <QStringList>

#include <string>
#include <variant>
#include <vector>

namespace vistrel::cli {

struct SyncOptions {
    std::vector<std::string> clips;  // angle A first; with a recording, every clip an angle
    std::string recording;           // --sound: the sound recording the clips are matched against
    double maxOffsetSeconds = 0;     // 0: the longer clip's length
    bool json = false;
    bool quiet = false;
    bool progressLines = false;  // progress for a program: "matching N of 1000" lines on stdout
    bool timings = false;        // where the time went, on stderr
};

// The most clips one run matches: angles A to Z, besides a recording.
inline constexpr size_t kMostSyncClips = 26;

// Parses the arguments (argv[0] first); a usage error carries the text to print.
std::variant<SyncOptions, UsageError> parseSyncOptions(const QStringList& arguments);

// What vistrel-sync prints: one line per angle,
// "B: start 21  offset 0.840 s  confidence 0.93", then "  unsure" below
// kSureConfidence, "  drift 0.052 s" when the drift is reported and
// "  clock +12.3 ppm" when the clock was measured; "sound only" in place of
// "start 21" for a clip without picture. Matched against a recording, a first
// line "recording: start 12.345 s" and the angles named from A.
std::string syncReportText(const sync::MatchedAngles& found);

// {"angle_a": ..., "fps_a": "25/1", "angles": [{"angle": "B", "clip": ..., "start_frame": 21, ...}, ...]},
// or {"recording": {"path": ..., "start_ms": 12345}, "angles": [{"angle": "A", ...}, ...]}; "fps" and
// "start_frame" (and "fps_a") are null for a clip without picture. clips: as given, the recording not among them.
std::string syncReportJson(const std::vector<std::string>& clips, const sync::MatchedAngles& found);

// The angles back from that JSON, the confidence as printed (two decimals,
// rounded down). Throws std::runtime_error for a report it cannot read,
// naming the value that is wrong.
sync::MatchedAngles readSyncReportJson(const QByteArray& json);

}  // namespace vistrel::cli
