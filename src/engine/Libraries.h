#pragma once
// The media libraries the engine runs on, as linked into this program: their
// names, versions and the licences they state, for the windows' About box.

#include <string>
#include <vector>

namespace vistrel::engine {

struct LibraryInfo {
    std::string name;
    std::string version;
    std::string licence;
};

// FFmpeg (libavcodec's own licence text, which says whether this build is
// under the LGPL or the GPL) and FFMS2.
std::vector<LibraryInfo> mediaLibraries();

}  // namespace vistrel::engine
