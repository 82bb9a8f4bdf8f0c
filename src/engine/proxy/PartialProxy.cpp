#include "engine/proxy/PartialProxy.h"

#include "engine/core/ScriptError.h"
#include "engine/core/Utf8Path.h"

#include <cerrno>
#include <cstring>

namespace vistrel::engine {

namespace fs = std::filesystem;

namespace {

// No picture of 176x120 comes near this; a larger size is a damaged record.
constexpr uint32_t kMostPayloadBytes = 1u << 20;

}  // namespace

PartialProxy::PartialProxy(fs::path path, const ProxyHeader& header) : path_(std::move(path)) {
    const int64_t end = readBack(header);
    if (end > 0) {
        std::error_code ec;
        fs::resize_file(path_, uint64_t(end), ec);
        if (ec) fail("shorten", ec.message());
        out_.open(path_, std::ios::binary | std::ios::in | std::ios::out);
        out_.seekp(end);
    } else {
        index_.clear();
        out_.open(path_, std::ios::binary | std::ios::out | std::ios::trunc);
        proxy_format::writeHeader(out_, header);
    }
    if (!out_) fail("write", std::strerror(errno));
}

int64_t PartialProxy::readBack(const ProxyHeader& header) {
    std::ifstream in(path_, std::ios::binary);
    if (!in) return 0;
    const std::optional<ProxyHeader> found = proxy_format::readHeader(in);
    if (!found || !(*found == header)) return 0;
    int64_t end = in.tellg();
    std::vector<uint8_t> payload;
    while (frames() < header.source.frameCount) {
        const auto head = proxy_format::readRecordHead(in);
        if (!head || head->frame != frames() || head->size > kMostPayloadBytes || (frames() == 0 && !head->key)) break;
        payload.resize(head->size);
        if (!in.read(reinterpret_cast<char*>(payload.data()), head->size) ||
            proxy_format::payloadCrc(payload) != head->crc)
            break;
        index_.push_back({end, head->key});
        end += ProxyRecordHead::kBytes + head->size;
    }
    return end;
}

void PartialProxy::append(const ProxyPacket& packet) {
    if (packet.frame != frames())
        throw ScriptError("Cannot make the proxy: the encoder gave frame " + std::to_string(packet.frame) +
                          " where frame " + std::to_string(frames()) + " was due.");
    index_.push_back({int64_t(out_.tellp()), packet.key});
    proxy_format::writeRecord(out_, packet.frame, index_.back().key, packet.data);
    // What is flushed survives a kill: at most one run of frames is coded again.
    if (index_.back().key) out_.flush();
    if (!out_) fail("write", std::strerror(errno));
}

void PartialProxy::finish(const fs::path& complete) {
    proxy_format::writeIndex(out_, index_);
    out_.close();
    if (!out_) fail("write", std::strerror(errno));
    std::error_code ec;
    fs::rename(path_, complete, ec);
    if (ec) fail("rename", ec.message());
}

void PartialProxy::fail(const char* doing, const std::string& reason) const {
    throw ScriptError(std::string("Cannot ") + doing + " the proxy '" + utf8Text(path_) + "'\n" + reason);
}

}  // namespace vistrel::engine
