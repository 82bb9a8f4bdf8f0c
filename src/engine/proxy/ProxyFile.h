#pragma once
// Where the preview proxy of a clip is kept, and reading a complete one.
//
// Proxies live in one folder (defaultProxyFolder(), beside the index
// folder), named like the index after the clip's fileIdentity and the proxy
// format, so that finding a clip's proxy reads nothing of the clip: a clip
// with a new size or time of change gets a proxy of its own. The header
// carries the clip's contentsIdentity (FileIdentity.h), which the proxy is
// read only for: another recording copied over the clip with its size and
// time kept finds the old proxy under its name, does not read it, and its
// build replaces it. A proxy is built under a ".part" name (ProxyBuilder.h)
// and renamed when its last frame is in, so the complete name only ever
// holds complete proxies.

#include "engine/proxy/ProxyFormat.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace vistrel::engine {

struct ProxyPaths {
    std::filesystem::path complete;  // <stem>.proxy
    std::filesystem::path partial;   // <stem>.proxy.part, while it is built
    std::filesystem::path lock;      // <stem>.proxy.lock, held by the builder
};

// The identity a proxy of the clip at path (UTF-8) must carry; reads the
// ends of the clip. Throws std::filesystem::filesystem_error when the clip
// cannot be read.
std::string proxyIdentity(const std::string& clipPath);
// Where the proxy of the clip at path (UTF-8) is kept in folder. Throws
// std::filesystem::filesystem_error when the clip cannot be looked at.
ProxyPaths proxyPathsOf(const std::filesystem::path& folder, const std::string& clipPath);

// A complete proxy, open for reading. Not thread-safe: its reader holds a lock.
class ProxyFile {
public:
    // The proxy at path if it is complete, undamaged as far as its header
    // and index show, and made for identity; null otherwise.
    static std::unique_ptr<ProxyFile> open(const std::filesystem::path& path, const std::string& identity);

    const ProxyHeader& header() const { return header_; }
    const std::filesystem::path& path() const { return path_; }
    int64_t frameCount() const { return int64_t(index_.size()); }
    // The keyframe that frame n (inside the proxy) is decoded from.
    int64_t keyframeOf(int64_t n) const;

    // The coded picture of frame n; false when its record is damaged.
    bool readPayload(int64_t n, std::vector<uint8_t>& payload);

private:
    ProxyFile(std::filesystem::path path, std::ifstream in, ProxyHeader header, std::vector<ProxyIndexEntry> index,
              int64_t indexOffset);

    std::filesystem::path path_;
    std::ifstream in_;
    ProxyHeader header_;
    std::vector<ProxyIndexEntry> index_;
    int64_t indexOffset_;  // where the records end
};

}  // namespace vistrel::engine
