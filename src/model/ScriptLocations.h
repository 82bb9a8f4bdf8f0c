#pragma once

#include "model/ScriptFile.h"

#include <memory>
#include <optional>
#include <string>

namespace vistrel::model {

// Where the intro and preview scripts are written, and the path the player
// is given for each (on Windows the intro is written to "c:\intro.avs" and
// opened as "c:/intro.avs"). A non-empty folder is created when missing.
// Beside them: the edit as "Preview the edit" plays it, and the edit as
// "Render video…" hands it to vistrel-render, under a name of its own for
// each render (render-XXXXXX.avs, the Xs made unique) so that two running
// editors never render each other's edit.
struct ScriptLocations {
    std::string folder;
    std::string introPath;
    std::string introPlayerPath;
    std::string previewPath;
    std::string previewPlayerPath;
    std::string editPreviewPath;
    std::string editPreviewPlayerPath;
    std::string renderScriptTemplate;
    // The sound recording as the start-point dialog plays it.
    std::string listeningPath;

    // The fixed places of this platform: the root of drive C on Windows,
    // elsewhere $XDG_CACHE_HOME/vistrel (XDG_CACHE_HOME defaulting to ~/.cache).
    static ScriptLocations forPlatform();
    // intro.avs, preview.avs, edit-preview.avs, render-XXXXXX.avs and recording.avs in a folder,
    // the player given the same paths.
    static ScriptLocations inFolder(const std::string& folder);
    // The cache folder from the value of XDG_CACHE_HOME and the home folder:
    // a value that is empty or not an absolute path counts as unset.
    static std::string cacheFolder(const std::string& xdgCacheHome, const std::string& home);

    // Writes one of these scripts (introPath, previewPath, ...), creating the
    // folder first when it is missing. Returns the reason on failure.
    std::optional<std::string> write(const std::string& path, const std::string& text) const;
    // Writes a script under a new name of its own made from nameTemplate
    // (renderScriptTemplate), creating the folder first when it is missing;
    // the file is removed when the result goes away. Throws
    // std::runtime_error with the reason.
    std::unique_ptr<TemporaryScriptFile> writeTemporary(const std::string& nameTemplate, const std::string& text) const;
};

}  // namespace vistrel::model
