#pragma once
// Opening a clip for the player and the command line: a `.avs` path (any case)
// is run as a script, anything else is read as a media file. Either way the
// clips get a fresh frame cache of their own. Throws ScriptError with a
// message for the user.

#include "engine/core/Clip.h"
#include "engine/core/FrameCache.h"
#include "engine/core/Utf8Path.h"
#include "engine/script/Environment.h"
#include "engine/source/CacheFolders.h"

#include <cstddef>
#include <filesystem>
#include <string>

namespace vistrel::engine {

struct OpenOptions {
    size_t cacheBudgetBytes = FrameCache::kDefaultBudget;
    size_t cacheLargestFrameBytes = SIZE_MAX;  // larger frames are not cached
    // Each file source keeps its last decoded frames, for stepping back, up to
    // this many bytes (full-size pictures: the frame cache above holds what
    // the script makes of them).
    size_t recentFramesBytesPerSource = kDefaultRecentFramesBytes;
    IndexProgress indexProgress;        // may be empty
    std::filesystem::path indexFolder;  // empty: defaultIndexFolder()
    // For reading the sound: the sources decode no pictures, and asking the
    // clip for a frame throws.
    bool soundOnly = false;
    // The player's preview reads each angle from its preview proxy once that
    // is complete (proxy/PreviewProxyRule.h); everything else reads the clips.
    bool preferPreviewProxies = false;
    // The cache holds the frames the script ends with, not the steps that
    // made them (the player: stepping back wants the pictures shown). A
    // script ending in a clip that hands frames on unchanged (a trim, a
    // splice) caches every step as usual.
    bool cacheResultOnly = false;
    std::filesystem::path proxyFolder;  // empty: defaultProxyFolder()
};

ClipPtr openClip(const std::string& path, const OpenOptions& options = {});
// The clip of a script text that is in no file; messages name it nameForMessages.
ClipPtr openScriptText(const std::string& text, const std::string& nameForMessages, const OpenOptions& options = {});

}  // namespace vistrel::engine
