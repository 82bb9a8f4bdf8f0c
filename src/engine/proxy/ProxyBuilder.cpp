#include "engine/proxy/ProxyBuilder.h"

#include "engine/clips/BilinearResize.h"
#include "engine/core/ScriptError.h"
#include "engine/core/Utf8Path.h"
#include "engine/proxy/PartialProxy.h"
#include "engine/proxy/PreviewProxyRule.h"
#include "engine/proxy/ProxyFile.h"
#include "engine/source/CacheFolders.h"
#include "engine/source/FfmsSource.h"

#include <QLockFile>
#include <QString>

namespace vistrel::engine {

namespace fs = std::filesystem;

namespace {

struct ProxyTarget {
    std::string identity;
    ProxyPaths paths;
};

ProxyTarget targetOf(const std::string& clipPath, const fs::path& folder) {
    try {
        return {proxyIdentity(clipPath), proxyPathsOf(folder, clipPath)};
    } catch (const fs::filesystem_error& e) {
        throw ScriptError("Cannot make a proxy of '" + clipPath + "'\n" + e.code().message());
    }
}

// Held for the whole build; a lock left by a process that died is taken over.
class BuildLock {
public:
    BuildLock(const fs::path& file, const std::string& clipPath) : lock_(QString::fromStdU16String(file.u16string())) {
        lock_.setStaleLockTime(0);  // a long build is not stale; only a dead builder's lock is
        if (!lock_.tryLock(0)) throw ScriptError("The proxy of '" + clipPath + "' is being made by another program.");
    }

private:
    QLockFile lock_;
};

// The clip as a plain avisource("file") in a script opens it. Its frames
// are read once, in order: no cache.
ClipPtr openSource(const std::string& clipPath, const ProxyBuildOptions& options) {
    SourceOptions open;
    open.nameInMessages = clipPath;
    open.indexFolder = options.indexFolder.empty() ? defaultIndexFolder() : options.indexFolder;
    open.indexProgress = options.indexProgress;
    ClipPtr clip = FfmsSource::open(clipPath, open);
    if (clip->info().pixelType != PixelType::YV12)
        throw ScriptError("Cannot make a proxy of '" + clipPath + "'\nProxies are made of YUV video; this clip is " +
                          pixelTypeName(clip->info().pixelType) + ".");
    return clip;
}

void codeFrames(Clip& pictures, ProxyEncoder& encoder, PartialProxy& partial, const ProxyBuildOptions& options) {
    const int64_t total = pictures.info().frameCount;
    for (int64_t n = partial.frames(); n < total; ++n) {
        for (const ProxyPacket& packet : encoder.encode(*pictures.frame(n), n)) partial.append(packet);
        if (options.progress) options.progress(partial.frames(), total);
    }
    for (const ProxyPacket& packet : encoder.finish()) partial.append(packet);
    if (partial.frames() != total)
        throw ScriptError("Cannot make the proxy: the encoder gave " + std::to_string(partial.frames()) + " of " +
                          std::to_string(total) + " frames.");
}

}  // namespace

ProxyBuildResult buildProxy(const std::string& clipPath, const ProxyBuildOptions& options) {
    if (isScriptPath(clipPath))
        throw ScriptError("Cannot make a proxy of '" + clipPath +
                          "'\nProxies are made of video files, not of scripts.");
    const fs::path folder = options.proxyFolder.empty() ? defaultProxyFolder() : options.proxyFolder;
    const auto [identity, paths] = targetOf(clipPath, folder);
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) throw ScriptError("Cannot make the proxy folder '" + utf8Text(folder) + "'\n" + ec.message());
    const BuildLock lock(paths.lock, clipPath);

    if (const auto done = ProxyFile::open(paths.complete, identity))
        return {paths.complete, done->frameCount(), done->frameCount()};
    fs::remove(paths.complete, ec);  // damaged, or made from what the clip was before: made again

    const ClipPtr source = openSource(clipPath, options);
    BilinearResize pictures(source, kPreviewProxyWidth, kPreviewProxyHeight);
    ProxyEncoder encoder(kPreviewProxyWidth, kPreviewProxyHeight, source->info().fps);
    const ProxyHeader header{identity, source->info(), kPreviewProxyWidth, kPreviewProxyHeight, encoder.codec()};
    PartialProxy partial(paths.partial, header);
    const int64_t resumedAt = partial.frames();
    if (options.progress) options.progress(resumedAt, source->info().frameCount);
    codeFrames(pictures, encoder, partial, options);
    partial.finish(paths.complete);
    return {paths.complete, source->info().frameCount, resumedAt};
}

}  // namespace vistrel::engine
