#include "engine/proxy/ProxyPictures.h"

#include "engine/clips/BilinearResize.h"
#include "engine/core/Utf8Path.h"
#include "engine/proxy/ProxiedSource.h"
#include "engine/proxy/ProxyFile.h"

#include <QtGlobal>

namespace vistrel::engine {

namespace {

VideoInfo picturesInfo(const ProxyFile& file) {
    VideoInfo info = file.header().source;
    info.width = file.header().width;
    info.height = file.header().height;
    info.pixelType = PixelType::YV12;
    return info;
}

}  // namespace

ProxyPictures::ProxyPictures(std::shared_ptr<ProxiedSource> source, std::unique_ptr<ProxyFile> file)
    : Clip(picturesInfo(*file)),
      source_(std::move(source)),
      file_(std::move(file)),
      decoder_(file_->header().codec, info_.width, info_.height) {}

ProxyPictures::~ProxyPictures() = default;

FramePtr ProxyPictures::makeFrame(int64_t n) {
    std::lock_guard lock(mutex_);
    if (!exact_) {
        if (FramePtr picture = decode(n)) return picture;
        giveUpProxy();
    }
    return exact_->frame(n);
}

FramePtr ProxyPictures::decode(int64_t n) {
    const int64_t keyframe = file_->keyframeOf(n);
    const bool goesOn = next_ >= keyframe && next_ <= n;
    if (!goesOn) decoder_.restart();
    FramePtr picture;
    for (int64_t k = goesOn ? next_ : keyframe; k <= n; ++k) {
        if (!file_->readPayload(k, payload_)) return nullptr;
        int64_t shown = -1;
        FramePtr out = decoder_.decode(payload_, k, shown);
        if (out && shown == n) picture = std::move(out);
    }
    next_ = n + 1;
    if (!picture) {  // held back inside the decoder
        picture = decoder_.drain(n);
        next_ = -1;
    }
    return picture;
}

void ProxyPictures::giveUpProxy() {
    qWarning("The preview proxy %s is damaged: the clip is read instead, and the proxy will be made again.",
             utf8Text(file_->path()).c_str());
    std::error_code ec;
    std::filesystem::remove(file_->path(), ec);
    next_ = -1;
    exact_ = std::make_shared<BilinearResize>(source_->exact(), info_.width, info_.height);
}

void ProxyPictures::readAudio(void* dst, int64_t start, int64_t count) { source_->audio(dst, start, count); }

}  // namespace vistrel::engine
