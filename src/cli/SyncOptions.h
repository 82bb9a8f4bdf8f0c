#pragma once
// The command line of vistrel-sync.

#include "cli/RenderOptions.h"

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

}  // namespace vistrel::cli
