#pragma once
// The pictures of a complete preview proxy as a clip: frame n decoded from
// the keyframe before it (or on from the frame before, when frames are read
// in order), with the sound of the clip the proxy was made from. A record
// found damaged while reading gives up the proxy: the file is removed, so
// that it is made again, and the pictures come from the clip itself, shrunk
// as the proxy would have held them.

#include "engine/core/Clip.h"
#include "engine/proxy/ProxyCodec.h"

#include <memory>
#include <mutex>
#include <vector>

namespace vistrel::engine {

class ProxiedSource;
class ProxyFile;

class ProxyPictures final : public Clip {
public:
    ProxyPictures(std::shared_ptr<ProxiedSource> source, std::unique_ptr<ProxyFile> file);
    ~ProxyPictures() override;

protected:
    FramePtr makeFrame(int64_t n) override;
    void readAudio(void* dst, int64_t start, int64_t count) override;

private:
    // Frame n from the proxy; null when the proxy is damaged.
    FramePtr decode(int64_t n);
    void giveUpProxy();

    std::shared_ptr<ProxiedSource> source_;
    std::mutex mutex_;  // guards everything below
    std::unique_ptr<ProxyFile> file_;
    ProxyDecoder decoder_;
    int64_t next_ = -1;  // the frame the decoder goes on with; -1: it starts at a keyframe
    std::vector<uint8_t> payload_;
    ClipPtr exact_;  // once the proxy is given up
};

}  // namespace vistrel::engine
