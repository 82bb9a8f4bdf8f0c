#include "engine/proxy/ProxyFormat.h"

extern "C" {
#include <libavutil/crc.h>
}

#include <array>
#include <cstring>

namespace vistrel::engine {

namespace {

constexpr char kHeaderMagic[8] = {'V', 'P', 'R', 'O', 'X', 'Y', '0', '1'};
constexpr char kIndexMagic[8] = {'V', 'P', 'I', 'N', 'D', 'E', 'X', '1'};
constexpr uint32_t kMostIdentityBytes = 1 << 16;
constexpr uint64_t kKeyBit = uint64_t(1) << 63;
constexpr int64_t kIndexTailBytes = 24;

void put(std::ostream& out, uint64_t value, int bytes) {
    char le[8];
    for (int i = 0; i < bytes; ++i) le[i] = static_cast<char>(value >> (8 * i));
    out.write(le, bytes);
}

// false when the stream ends first.
bool get(std::istream& in, uint64_t& value, int bytes) {
    unsigned char le[8];
    if (!in.read(reinterpret_cast<char*>(le), bytes)) return false;
    value = 0;
    for (int i = 0; i < bytes; ++i) value |= uint64_t(le[i]) << (8 * i);
    return true;
}

// Reads the fields of one record or header in order; a short stream leaves ok false.
struct FieldReader {
    std::istream& in;
    bool ok = true;

    int64_t next(int bytes) {
        uint64_t value = 0;
        ok = ok && get(in, value, bytes);
        if (bytes < 8 && (value >> (8 * bytes - 1)))  // sign-extend
            value |= ~uint64_t(0) << (8 * bytes);
        return static_cast<int64_t>(value);
    }
    uint64_t unsignedNext(int bytes) {
        uint64_t value = 0;
        ok = ok && get(in, value, bytes);
        return value;
    }
};

bool knownPixelType(int64_t value) { return value >= 0 && value <= int64_t(PixelType::YUY2); }

}  // namespace

bool ProxyHeader::operator==(const ProxyHeader& o) const {
    const VideoInfo& a = source;
    const VideoInfo& b = o.source;
    return identity == o.identity && width == o.width && height == o.height && codec == o.codec && a.width == b.width &&
           a.height == b.height && a.pixelType == b.pixelType && a.fps == b.fps && a.frameCount == b.frameCount &&
           a.audioRate == b.audioRate && a.channels == b.channels && a.sampleType == b.sampleType &&
           a.audioSamples == b.audioSamples;
}

namespace proxy_format {

void writeHeader(std::ostream& out, const ProxyHeader& h) {
    out.write(kHeaderMagic, sizeof kHeaderMagic);
    put(out, h.identity.size(), 4);
    out.write(h.identity.data(), static_cast<std::streamsize>(h.identity.size()));
    const VideoInfo& v = h.source;
    put(out, uint64_t(v.width), 4);
    put(out, uint64_t(v.height), 4);
    put(out, uint64_t(v.pixelType), 1);
    put(out, uint64_t(v.fps.num), 8);
    put(out, uint64_t(v.fps.den), 8);
    put(out, uint64_t(v.frameCount), 8);
    put(out, uint64_t(v.audioRate), 4);
    put(out, uint64_t(v.channels), 4);
    put(out, uint64_t(v.sampleType), 1);
    put(out, uint64_t(v.audioSamples), 8);
    put(out, uint64_t(h.width), 4);
    put(out, uint64_t(h.height), 4);
    put(out, uint64_t(h.codec), 4);
}

std::optional<ProxyHeader> readHeader(std::istream& in) {
    char magic[sizeof kHeaderMagic];
    if (!in.read(magic, sizeof magic) || std::memcmp(magic, kHeaderMagic, sizeof magic) != 0) return std::nullopt;
    FieldReader r{in};
    const uint64_t identityBytes = r.unsignedNext(4);
    if (!r.ok || identityBytes > kMostIdentityBytes) return std::nullopt;
    ProxyHeader h;
    h.identity.resize(identityBytes);
    if (!in.read(h.identity.data(), static_cast<std::streamsize>(identityBytes))) return std::nullopt;
    VideoInfo& v = h.source;
    v.width = int(r.next(4));
    v.height = int(r.next(4));
    const int64_t pixelType = r.next(1);
    const int64_t fpsNum = r.next(8), fpsDen = r.next(8);
    v.frameCount = r.next(8);
    v.audioRate = int(r.next(4));
    v.channels = int(r.next(4));
    const int64_t sampleType = r.next(1);
    v.audioSamples = r.next(8);
    h.width = int(r.next(4));
    h.height = int(r.next(4));
    h.codec = int(r.next(4));
    if (!r.ok || !knownPixelType(pixelType) || (sampleType != 0 && sampleType != 1)) return std::nullopt;
    if (v.frameCount <= 0 || fpsNum <= 0 || fpsDen <= 0 || h.width <= 0 || h.height <= 0) return std::nullopt;
    v.pixelType = PixelType(pixelType);
    v.sampleType = SampleType(sampleType);
    v.fps = Rational::reduced(fpsNum, fpsDen);
    return h;
}

uint32_t payloadCrc(std::span<const uint8_t> payload) {
    return av_crc(av_crc_get_table(AV_CRC_32_IEEE), 0, payload.data(), payload.size());
}

void writeRecord(std::ostream& out, int64_t frame, bool key, std::span<const uint8_t> payload) {
    put(out, uint64_t(frame), 4);
    put(out, payload.size(), 4);
    put(out, key ? 1 : 0, 1);
    put(out, payloadCrc(payload), 4);
    out.write(reinterpret_cast<const char*>(payload.data()), static_cast<std::streamsize>(payload.size()));
}

std::optional<ProxyRecordHead> readRecordHead(std::istream& in) {
    FieldReader r{in};
    ProxyRecordHead head;
    head.frame = int64_t(r.unsignedNext(4));
    head.size = uint32_t(r.unsignedNext(4));
    const uint64_t key = r.unsignedNext(1);
    head.crc = uint32_t(r.unsignedNext(4));
    if (!r.ok || key > 1) return std::nullopt;
    head.key = key == 1;
    return head;
}

void writeIndex(std::ostream& out, std::span<const ProxyIndexEntry> entries) {
    const auto indexOffset = static_cast<uint64_t>(out.tellp());
    for (const ProxyIndexEntry& e : entries) put(out, uint64_t(e.offset) | (e.key ? kKeyBit : 0), 8);
    put(out, indexOffset, 8);
    put(out, entries.size(), 8);
    out.write(kIndexMagic, sizeof kIndexMagic);
}

std::optional<std::vector<ProxyIndexEntry>> readIndex(std::istream& in, int64_t fileSize, int64_t recordsStart,
                                                      int64_t frameCount) {
    if (fileSize < recordsStart + kIndexTailBytes) return std::nullopt;
    in.seekg(fileSize - kIndexTailBytes);
    FieldReader r{in};
    const uint64_t indexOffset = r.unsignedNext(8);
    const uint64_t count = r.unsignedNext(8);
    char magic[sizeof kIndexMagic];
    if (!r.ok || !in.read(magic, sizeof magic) || std::memcmp(magic, kIndexMagic, sizeof magic) != 0)
        return std::nullopt;
    if (int64_t(count) != frameCount || indexOffset + count * 8 + kIndexTailBytes != uint64_t(fileSize))
        return std::nullopt;

    std::vector<ProxyIndexEntry> entries(count);
    in.seekg(int64_t(indexOffset));
    int64_t previous = recordsStart - ProxyRecordHead::kBytes;
    for (ProxyIndexEntry& e : entries) {
        const uint64_t word = r.unsignedNext(8);
        e.offset = int64_t(word & ~kKeyBit);
        e.key = (word & kKeyBit) != 0;
        if (!r.ok || e.offset < previous + ProxyRecordHead::kBytes || e.offset >= int64_t(indexOffset))
            return std::nullopt;
        previous = e.offset;
    }
    if (entries.empty() || !entries.front().key || entries.front().offset != recordsStart) return std::nullopt;
    return entries;
}

}  // namespace proxy_format

}  // namespace vistrel::engine
