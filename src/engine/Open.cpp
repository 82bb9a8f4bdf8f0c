#include "engine/Open.h"

#include "engine/Script.h"
#include "engine/filters/Factories.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>

namespace vistrel::engine {

bool isScriptPath(const std::string& path) {
    static constexpr std::string_view kExtension = ".avs";
    if (path.size() < kExtension.size()) return false;
    return std::equal(kExtension.begin(), kExtension.end(), path.end() - kExtension.size(),
                      [](char want, char have) { return want == std::tolower(static_cast<unsigned char>(have)); });
}

namespace {

std::filesystem::path cacheFolder() {
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg) {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::filesystem::path(home) / ".cache";
    } else {
        base = std::filesystem::temp_directory_path();
    }
    return base / "vistrel";
}

}  // namespace

std::filesystem::path defaultIndexFolder() { return cacheFolder() / "index"; }

std::filesystem::path defaultProxyFolder() { return cacheFolder() / "proxy"; }

namespace {

ClipPtr openMediaFile(const std::string& path, Environment& env) {
    // One slot per parameter of "s+[audio]b[pixel_type]s": the file, then two not given.
    Args args({{Value(path)}, {}, {}});
    Value made = createAviSource(args, env);
    ClipPtr clip = std::get<ClipPtr>(made);
    if (env.cache) clip->attachCache(env.cache);
    return clip;
}

}  // namespace

ClipPtr openClip(const std::string& path, const OpenOptions& options) {
    std::set<std::string> scriptsLoading;
    Environment env;
    env.cache = std::make_shared<FrameCache>(options.cacheBudgetBytes);
    env.indexProgress = options.indexProgress;
    env.indexFolder = options.indexFolder.empty() ? defaultIndexFolder() : options.indexFolder;
    env.scriptsLoading = &scriptsLoading;
    if (options.preferPreviewProxies)
        env.previewProxyFolder = options.proxyFolder.empty() ? defaultProxyFolder() : options.proxyFolder;
    if (isScriptPath(path)) return evaluateScriptFile(path, env);
    return openMediaFile(path, env);
}

}  // namespace vistrel::engine
