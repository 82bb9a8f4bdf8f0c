#include "engine/Open.h"

#include "engine/Script.h"
#include "engine/filters/FunctionTable.h"
#include "engine/proxy/PreviewProxyRule.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>

namespace vistrel::engine {

namespace {

ClipPtr openMediaFile(const std::string& path, Environment& env) {
    // One slot per parameter of "s+[audio]b[pixel_type]s": the file, then two not given.
    Args args({{Value(path)}, {}, {}});
    Value made = createAviSource(args, env);
    ClipPtr clip = std::get<ClipPtr>(made);
    if (env.cache) clip->attachCache(env.cache);
    return clip;
}

// Runs open with an environment of its own: a fresh frame cache and a
// guard against scripts that load themselves.
template <typename Open>
ClipPtr withEnvironment(const OpenOptions& options, Open open) {
    std::set<std::string> scriptsLoading;
    std::vector<ClipPtr> uncached;
    const auto cache = std::make_shared<FrameCache>(options.cacheBudgetBytes, options.cacheLargestFrameBytes);
    Environment env;
    if (options.cacheResultOnly)
        env.uncachedClips = &uncached;
    else
        env.cache = cache;
    env.indexProgress = options.indexProgress;
    env.indexFolder = options.indexFolder.empty() ? defaultIndexFolder() : options.indexFolder;
    env.scriptsLoading = &scriptsLoading;
    env.soundOnly = options.soundOnly;
    env.recentFramesBytes = options.recentFramesBytesPerSource;
    if (options.preferPreviewProxies)
        env.standIns = previewProxyStandIns(options.proxyFolder.empty() ? defaultProxyFolder() : options.proxyFolder);
    ClipPtr result = open(env);
    if (options.cacheResultOnly && !result->attachCache(cache))
        for (const ClipPtr& clip : uncached) clip->attachCache(cache);
    return result;
}

}  // namespace

ClipPtr openClip(const std::string& path, const OpenOptions& options) {
    return withEnvironment(options, [&path](Environment& env) {
        return isScriptPath(path) ? evaluateScriptFile(path, env) : openMediaFile(path, env);
    });
}

ClipPtr openScriptText(const std::string& text, const std::string& nameForMessages, const OpenOptions& options) {
    return withEnvironment(options, [&](Environment& env) { return evaluateScriptClip(text, nameForMessages, env); });
}

}  // namespace vistrel::engine
