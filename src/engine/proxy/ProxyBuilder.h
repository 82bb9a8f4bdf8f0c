#pragma once
// Builds the preview proxy of a media file: every frame of the clip as
// avisource("file") opens it (so in the same numbering), shrunk to the
// preview's size by BilinearResize exactly as the preview script shrinks it,
// coded by ProxyEncoder and written through PartialProxy, so that a build
// that stops goes on where it stopped. One build per proxy at a time, across
// processes: the proxy's lock file says who builds it.

#include "engine/script/Environment.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace vistrel::engine {

struct ProxyBuildOptions {
    std::filesystem::path proxyFolder;  // empty: defaultProxyFolder()
    std::filesystem::path indexFolder;  // empty: defaultIndexFolder()
    IndexProgress indexProgress;        // may be empty
    // Frames coded of the clip's total; may be empty, may throw to stop the
    // build (buildProxy rethrows it; what was coded is kept for the next one).
    std::function<void(int64_t done, int64_t total)> progress;
};

struct ProxyBuildResult {
    std::filesystem::path file;  // the complete proxy
    int64_t frames = 0;          // of the clip
    int64_t resumedAt = 0;       // frames an earlier build had coded (frames: nothing was left to do)
};

// Throws ScriptError for a file that cannot be read, a script, a clip that is
// not YUV, a proxy that another process is building, or a write that fails.
ProxyBuildResult buildProxy(const std::string& clipPath, const ProxyBuildOptions& options);

}  // namespace vistrel::engine
