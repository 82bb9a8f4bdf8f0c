#include "engine/proxy/ProxiedSource.h"

#include "engine/core/ScriptError.h"
#include "engine/core/Utf8Path.h"
#include "engine/proxy/ProxyFile.h"
#include "engine/proxy/ProxyPictures.h"

namespace vistrel::engine {

ProxiedSource::ProxiedSource(std::unique_ptr<ProxyFile> file, ExactSourceOpener openExact)
    : Clip(file->header().source),
      file_(std::move(file)),
      proxyPath_(file_->path()),
      identity_(file_->header().identity),
      openExact_(std::move(openExact)) {}

ProxiedSource::~ProxiedSource() = default;

ClipPtr ProxiedSource::pictures() {
    std::unique_ptr<ProxyFile> file;
    {
        std::lock_guard lock(mutex_);
        file = file_ ? std::move(file_) : ProxyFile::open(proxyPath_, identity_);
    }
    if (!file) return std::make_shared<BilinearResize>(shared_from_this(), kPreviewProxyWidth, kPreviewProxyHeight);
    return std::make_shared<ProxyPictures>(shared_from_this(), std::move(file));
}

ClipPtr ProxiedSource::exact() {
    std::lock_guard lock(mutex_);
    if (exact_) return exact_;
    ClipPtr opened = openExact_();
    const VideoInfo& found = opened->info();
    if (found.frameCount != info_.frameCount || !(found.fps == info_.fps) || found.width != info_.width ||
        found.height != info_.height || found.audioSamples != info_.audioSamples) {
        std::error_code ec;
        std::filesystem::remove(proxyPath_, ec);
        throw ScriptError("The preview proxy '" + utf8Text(proxyPath_) +
                          "' does not match its clip; it has been removed and will be made again.");
    }
    exact_ = std::move(opened);
    return exact_;
}

FramePtr ProxiedSource::makeFrame(int64_t n) { return exact()->frame(n); }

bool ProxiedSource::lendFrame(int64_t n, const FrameUse& use) {
    exact()->withFrame(n, use);
    return true;
}

void ProxiedSource::readAudio(void* dst, int64_t start, int64_t count) { exact()->audio(dst, start, count); }

}  // namespace vistrel::engine
