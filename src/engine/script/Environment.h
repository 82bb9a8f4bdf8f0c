#pragma once
// What one evaluation of a script gives the functions it calls beyond their
// arguments: the frame cache, the index folder and its progress, the folder
// relative paths start from, and what may stand in for a source.

#include "engine/clips/BilinearResize.h"
#include "engine/core/Clip.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace vistrel::engine {

class FrameCache;

// Called while a source builds its index: done and total in bytes.
using IndexProgress = std::function<void(int64_t done, int64_t total)>;

class SourcesAhead;

// Opens a source file as avisource would; called at most once, when needed.
using ExactSourceOpener = std::function<ClipPtr()>;

// Where an evaluation reads something other than a source file itself (the
// preview's proxies). Whoever opens the script sets them; the source and
// resize functions ask them first and read the file when they give null.
struct SourceStandIns {
    // In place of a plain avisource(path), path resolved (UTF-8).
    std::function<ClipPtr(const std::string& path, ExactSourceOpener openExact)> source;
    // Whether `source` will stand in for path, judged without opening it.
    std::function<bool(const std::string& path)> expected;
    // In place of BilinearResize(child, width, height, window).
    std::function<ClipPtr(const ClipPtr& child, int width, int height, const SourceWindow& window)> resize;
};

// How many bytes of its last decoded frames a file source keeps for stepping
// back, unless told otherwise: a second of 1080p.
inline constexpr size_t kDefaultRecentFramesBytes = size_t(96) << 20;

// What a function may need beyond its arguments, for one script evaluation.
struct Environment {
    std::shared_ptr<FrameCache> cache;
    // Where the cache is to hold the script's result only: the clips the
    // script makes are listed here instead of being given the cache.
    std::vector<ClipPtr>* uncachedClips = nullptr;
    IndexProgress indexProgress;        // may be empty
    std::filesystem::path indexFolder;  // where source indexes are kept
    // What stands in for a source while this evaluation runs; empty: every
    // source reads its file. Only the player's preview sets it.
    SourceStandIns standIns;
    std::set<std::string>* scriptsLoading = nullptr;  // guards scripts that load themselves
    // The folder of the script file being run; a relative path in it starts
    // there, as AviSynth runs a script from its own folder. Empty: the
    // process's working folder.
    std::filesystem::path scriptFolder;
    // Runs a script file that the script opens (avisource("x.avs")); set by
    // the evaluator (Script.h).
    std::function<ClipPtr(const std::string& path, Environment& env)> runScriptFile;
    // Sources of the script being run that are being opened ahead; may be null.
    SourcesAhead* sourcesAhead = nullptr;
    // Sources are opened for their sound only: no picture is decoded.
    bool soundOnly = false;
    // Each source keeps its last decoded frames up to this many bytes.
    size_t recentFramesBytes = kDefaultRecentFramesBytes;
};

// Where a path named in a script points: relative paths start from the
// folder of the script being run (env.scriptFolder), when there is one.
std::filesystem::path resolvePathInScript(const std::string& path, const Environment& env);

}  // namespace vistrel::engine
