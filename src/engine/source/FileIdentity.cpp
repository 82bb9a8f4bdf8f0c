#include "engine/source/FileIdentity.h"

#include "engine/core/Utf8Path.h"

extern "C" {
#include <libavutil/mem.h>
#include <libavutil/murmur3.h>
}
#include <ffms.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <new>
#include <vector>

namespace vistrel::engine {

namespace fs = std::filesystem;

namespace {

// How much of each end of the file the digest reads.
constexpr uint64_t kDigestSpan = uint64_t(1) << 20;

uint64_t fnv1a(const std::string& text) {
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : text) h = (h ^ c) * 1099511628211ull;
    return h;
}

struct Murmur3Free {
    void operator()(AVMurMur3* hash) const { av_free(hash); }
};

std::error_code lastReadError() {
    return errno != 0 ? std::error_code(errno, std::generic_category()) : std::make_error_code(std::errc::io_error);
}

// MurmurHash3 (128 bits, FFmpeg's) of the size and of the first and last
// kDigestSpan bytes of the file; the whole file when it is smaller than both.
std::string contentsDigest(const fs::path& file) {
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in) throw fs::filesystem_error("Cannot read the file", file, lastReadError());
    const uint64_t size = fs::file_size(file);
    const std::unique_ptr<AVMurMur3, Murmur3Free> hash(av_murmur3_alloc());
    if (!hash) throw std::bad_alloc();
    av_murmur3_init(hash.get());
    uint8_t sizeBytes[8];
    for (int i = 0; i < 8; ++i) sizeBytes[i] = uint8_t(size >> (8 * i));
    av_murmur3_update(hash.get(), sizeBytes, sizeof sizeBytes);

    std::vector<uint8_t> buffer(std::min(size, kDigestSpan));
    const auto digestBytes = [&](uint64_t from, uint64_t count) {
        in.seekg(std::streamoff(from));
        if (!in.read(reinterpret_cast<char*>(buffer.data()), std::streamsize(count)))
            throw fs::filesystem_error("Cannot read the file", file, lastReadError());
        av_murmur3_update(hash.get(), buffer.data(), count);
    };
    digestBytes(0, buffer.size());
    const uint64_t tail = std::max(kDigestSpan, size - std::min(size, kDigestSpan));
    if (size > tail) digestBytes(tail, size - tail);

    uint8_t digest[16];
    av_murmur3_final(hash.get(), digest);
    std::string text;
    for (const uint8_t byte : digest) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", byte);
        text += hex;
    }
    return text;
}

}  // namespace

std::string fileIdentity(const std::string& path) {
    const fs::path file = utf8Path(path);
    const fs::path absolute = fs::absolute(file).lexically_normal();
    const auto size = fs::file_size(file);
    const auto changed = fs::last_write_time(file).time_since_epoch().count();
    return utf8Text(absolute) + "\n" + std::to_string(size) + "\n" + std::to_string(changed) + "\n" +
           std::to_string(FFMS_GetVersion());
}

std::string contentsIdentity(const std::string& path) {
    return fileIdentity(path) + "\ncontents " + contentsDigest(utf8Path(path));
}

std::string identityStem(const std::string& identity) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(fnv1a(identity)));
    return text;
}

}  // namespace vistrel::engine
