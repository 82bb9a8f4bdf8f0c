#include "engine/proxy/PreviewProxyRule.h"

#include "engine/Open.h"
#include "engine/proxy/ProxiedSource.h"
#include "engine/proxy/ProxyFile.h"

namespace vistrel::engine {

namespace {

// Where the proxy of path is kept in the evaluation's proxy folder, or
// nothing when the evaluation reads no proxies or the file cannot be looked
// at (its open will say why).
std::optional<ProxyPaths> proxyPathsIn(const std::string& path, const Environment& env) {
    if (env.previewProxyFolder.empty() || isScriptPath(path)) return std::nullopt;
    try {
        return proxyPathsOf(env.previewProxyFolder, path);
    } catch (const std::filesystem::filesystem_error&) {
        return std::nullopt;
    }
}

bool proxyFileExists(const std::optional<ProxyPaths>& paths) {
    std::error_code ec;
    return paths && std::filesystem::exists(paths->complete, ec);
}

bool isWholePicture(const SourceWindow& w, const VideoInfo& info) {
    const auto spans = [](double start, double length, int side) {
        return start == 0.0 && (length <= 0.0 ? side + length : length) == side;
    };
    return spans(w.left, w.width, info.width) && spans(w.top, w.height, info.height);
}

}  // namespace

ClipPtr previewProxyStandIn(const std::string& path, const Environment& env, ExactSourceOpener openExact) {
    const auto paths = proxyPathsIn(path, env);
    if (!proxyFileExists(paths)) return nullptr;  // the clip's contents are read only for a proxy there is
    std::string identity;
    try {
        identity = proxyIdentity(path);
    } catch (const std::filesystem::filesystem_error&) {
        return nullptr;
    }
    std::unique_ptr<ProxyFile> file = ProxyFile::open(paths->complete, identity);
    if (!file) return nullptr;
    return std::make_shared<ProxiedSource>(std::move(file), std::move(openExact));
}

bool previewProxyExpected(const std::string& path, const Environment& env) {
    return proxyFileExists(proxyPathsIn(path, env));
}

ClipPtr previewProxyPictures(const ClipPtr& child, int width, int height, const SourceWindow& window) {
    const auto source = std::dynamic_pointer_cast<ProxiedSource>(child);
    if (!source || width != kPreviewProxyWidth || height != kPreviewProxyHeight) return nullptr;
    if (!isWholePicture(window, source->info())) return nullptr;
    return source->pictures();
}

}  // namespace vistrel::engine
