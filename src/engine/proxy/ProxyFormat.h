#pragma once
// The layout of a preview proxy file. Everything is little-endian.
//
//   header   "VPROXY01", the identity of the clip version it was made from
//            (length and text), the clip's VideoInfo as avisource opens it,
//            the proxy's picture size and the codec of its frames
//   records  one per frame of the clip, frames 0, 1, 2, ... in order: frame
//            number, payload size, keyframe flag, CRC-32 of the payload, and
//            the payload (one coded picture)
//   index    (a complete proxy only) one 64-bit word per frame: the offset
//            of its record, bit 63 set for a keyframe; then the offset of
//            the index, the frame count and "VPINDEX1"
//
// A proxy being built has no index yet: it can be read back record by
// record, up to the first record that is cut short or damaged, and goes on
// from there.

#include "engine/core/VideoInfo.h"

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace vistrel::engine {

struct ProxyHeader {
    std::string identity;  // the clip version (FileIdentity) and the proxy format
    VideoInfo source;      // the clip as avisource opens it: numbering, rate, sound
    int width = 0;         // the proxy's pictures, YV12
    int height = 0;
    int codec = 0;  // the AVCodecID of the payloads

    bool operator==(const ProxyHeader&) const;
};

struct ProxyRecordHead {
    int64_t frame = 0;
    uint32_t size = 0;
    bool key = false;
    uint32_t crc = 0;

    static constexpr int64_t kBytes = 13;
};

// Where a frame's record starts, and whether it is a keyframe.
struct ProxyIndexEntry {
    int64_t offset = 0;
    bool key = false;
};

namespace proxy_format {

void writeHeader(std::ostream& out, const ProxyHeader& header);
// nullopt when the stream does not start with a proxy header.
std::optional<ProxyHeader> readHeader(std::istream& in);

void writeRecord(std::ostream& out, int64_t frame, bool key, std::span<const uint8_t> payload);
// The head of the record at the stream's position; nullopt when it is cut short.
std::optional<ProxyRecordHead> readRecordHead(std::istream& in);
uint32_t payloadCrc(std::span<const uint8_t> payload);

// The index and its closing words, after the last record.
void writeIndex(std::ostream& out, std::span<const ProxyIndexEntry> entries);
// The index of a complete proxy of fileSize bytes whose records start at
// recordsStart; nullopt when it is missing, cut short or inconsistent.
std::optional<std::vector<ProxyIndexEntry>> readIndex(std::istream& in, int64_t fileSize, int64_t recordsStart,
                                                      int64_t frameCount);

}  // namespace proxy_format

}  // namespace vistrel::engine
