#include "engine/proxy/PreviewProxyRule.h"

#include "engine/core/Utf8Path.h"
#include "engine/proxy/ProxiedSource.h"
#include "engine/proxy/ProxyFile.h"

namespace vistrel::engine {

namespace {

// Where the proxy of path is kept in the proxy folder, or nothing for a
// script or a file that cannot be looked at (its open will say why).
std::optional<ProxyPaths> proxyPathsIn(const std::string& path, const std::filesystem::path& folder) {
    if (isScriptPath(path)) return std::nullopt;
    try {
        return proxyPathsOf(folder, path);
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

// Case 1: the stand-in for avisource(path), or null when the file is to be
// read itself.
ClipPtr standInFor(const std::string& path, const std::filesystem::path& folder, ExactSourceOpener openExact) {
    const auto paths = proxyPathsIn(path, folder);
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

// Case 2: the proxy's pictures for BilinearResize(child, width, height,
// window), or null when the resize is to be done.
ClipPtr proxyPictures(const ClipPtr& child, int width, int height, const SourceWindow& window) {
    const auto source = std::dynamic_pointer_cast<ProxiedSource>(child);
    if (!source || width != kPreviewProxyWidth || height != kPreviewProxyHeight) return nullptr;
    if (!isWholePicture(window, source->info())) return nullptr;
    return source->pictures();
}

}  // namespace

SourceStandIns previewProxyStandIns(std::filesystem::path folder) {
    SourceStandIns standIns;
    standIns.source = [folder](const std::string& path, ExactSourceOpener openExact) {
        return standInFor(path, folder, std::move(openExact));
    };
    // Such a file needs no source opened ahead.
    standIns.expected = [folder](const std::string& path) { return proxyFileExists(proxyPathsIn(path, folder)); };
    standIns.resize = proxyPictures;
    return standIns;
}

}  // namespace vistrel::engine
