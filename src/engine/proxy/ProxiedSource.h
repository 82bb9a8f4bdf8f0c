#pragma once
// A media file with a complete preview proxy, as avisource gives it to an
// evaluation that prefers proxies (PreviewProxyRule.h): it describes itself
// from the proxy's header, exactly as the file would, hands out the proxy's
// pictures for the preview's resize, and opens the file itself only when
// something asks for full-size pictures or for sound.

#include "engine/core/Clip.h"
#include "engine/proxy/PreviewProxyRule.h"

#include <memory>
#include <mutex>

namespace vistrel::engine {

class ProxyFile;

class ProxiedSource final : public Clip, public std::enable_shared_from_this<ProxiedSource> {
public:
    ProxiedSource(std::unique_ptr<ProxyFile> file, ExactSourceOpener openExact);
    ~ProxiedSource() override;

    // The proxy's pictures, 176x120, with this clip's sound.
    ClipPtr pictures();

    // The file itself, opened on first use. Throws ScriptError when it
    // cannot be opened, or when it no longer is what the proxy says.
    ClipPtr exact();

protected:
    FramePtr makeFrame(int64_t n) override;
    bool lendFrame(int64_t n, const FrameUse& use) override;
    void readAudio(void* dst, int64_t start, int64_t count) override;
    bool worthCaching() const override { return false; }

private:
    std::mutex mutex_;
    std::unique_ptr<ProxyFile> file_;  // handed to the first pictures()
    std::filesystem::path proxyPath_;
    std::string identity_;
    ExactSourceOpener openExact_;
    ClipPtr exact_;
};

}  // namespace vistrel::engine
