#include "engine/proxy/ProxyFile.h"

#include "engine/source/FileIdentity.h"

namespace vistrel::engine {

namespace fs = std::filesystem;

namespace {

// Part of every proxy's name and identity: a proxy made by another format
// (or another shrinking of the pictures, or identified otherwise) is not
// read, and is made again. 2: the identity holds a digest of the contents.
constexpr int kProxyFormatVersion = 2;

std::string formatLine() { return "\nproxy " + std::to_string(kProxyFormatVersion); }

}  // namespace

std::string proxyIdentity(const std::string& clipPath) { return contentsIdentity(clipPath) + formatLine(); }

ProxyPaths proxyPathsOf(const fs::path& folder, const std::string& clipPath) {
    const std::string stem = identityStem(fileIdentity(clipPath) + formatLine()) + ".proxy";
    return {folder / stem, folder / (stem + ".part"), folder / (stem + ".lock")};
}

std::unique_ptr<ProxyFile> ProxyFile::open(const fs::path& path, const std::string& identity) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    std::optional<ProxyHeader> header = proxy_format::readHeader(in);
    if (!header || header->identity != identity) return nullptr;
    const int64_t recordsStart = in.tellg();
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec) return nullptr;
    auto index = proxy_format::readIndex(in, int64_t(size), recordsStart, header->source.frameCount);
    if (!index) return nullptr;
    const int64_t indexOffset = int64_t(size) - int64_t(index->size()) * 8 - 24;
    return std::unique_ptr<ProxyFile>(
        new ProxyFile(path, std::move(in), std::move(*header), std::move(*index), indexOffset));
}

ProxyFile::ProxyFile(fs::path path, std::ifstream in, ProxyHeader header, std::vector<ProxyIndexEntry> index,
                     int64_t indexOffset)
    : path_(std::move(path)),
      in_(std::move(in)),
      header_(std::move(header)),
      index_(std::move(index)),
      indexOffset_(indexOffset) {}

int64_t ProxyFile::keyframeOf(int64_t n) const {
    while (n > 0 && !index_[size_t(n)].key) --n;
    return n;
}

bool ProxyFile::readPayload(int64_t n, std::vector<uint8_t>& payload) {
    const int64_t offset = index_[size_t(n)].offset;
    const int64_t end = size_t(n + 1) < index_.size() ? index_[size_t(n + 1)].offset : indexOffset_;
    in_.clear();
    in_.seekg(offset);
    const auto head = proxy_format::readRecordHead(in_);
    if (!head || head->frame != n || head->key != index_[size_t(n)].key ||
        offset + ProxyRecordHead::kBytes + head->size != end)
        return false;
    payload.resize(head->size);
    if (!in_.read(reinterpret_cast<char*>(payload.data()), head->size)) return false;
    return proxy_format::payloadCrc(payload) == head->crc;
}

}  // namespace vistrel::engine
