#pragma once
// What Vistrel's programs say they are: `--version` on the command line and
// Help › About in the window show the same: Vistrel's version (set once, in
// the top CMakeLists.txt) and the libraries it runs on, as linked.

#include "engine/Libraries.h"

#include <string>
#include <string_view>
#include <vector>

namespace vistrel::cli {

std::string vistrelVersion();

// Qt, FFmpeg and FFMS2 with their versions and licences.
std::vector<engine::LibraryInfo> builtOn();

// "vistrel-render 0.1.0", then one line per library: "FFmpeg 5.1.6 (LGPL version 2.1 or later)".
std::string versionText(std::string_view program);

}  // namespace vistrel::cli
