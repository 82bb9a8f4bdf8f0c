#pragma once
// A proxy file being built: its header, then one record per frame as the
// frames are coded. A build that stops (a crash, a kill, the editor closed)
// leaves what it wrote; the next build for the same header reads the records
// back, cuts the file after the last whole and undamaged one and goes on
// from the frame after it. A file begun for another header (another clip
// version, codec or size) or without a readable header starts afresh.

#include "engine/proxy/ProxyCodec.h"
#include "engine/proxy/ProxyFormat.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace vistrel::engine {

class PartialProxy {
public:
    // Throws ScriptError when the file cannot be written.
    PartialProxy(std::filesystem::path path, const ProxyHeader& header);

    // Frames already in the file: the next one to append.
    int64_t frames() const { return int64_t(index_.size()); }

    // Appends the next frame's packet (packet.frame == frames()).
    void append(const ProxyPacket& packet);

    // Writes the index and moves the file to `complete`.
    void finish(const std::filesystem::path& complete);

private:
    // Reads back the records of an earlier build; returns where they end
    // (0 when the file does not belong to this header).
    int64_t readBack(const ProxyHeader& header);
    [[noreturn]] void fail(const char* doing, const std::string& reason) const;

    std::filesystem::path path_;
    std::fstream out_;
    std::vector<ProxyIndexEntry> index_;
};

}  // namespace vistrel::engine
