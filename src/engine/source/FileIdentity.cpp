#include "engine/source/FileIdentity.h"

#include "engine/source/Utf8Path.h"

#include <ffms.h>

#include <cstdint>
#include <cstdio>

namespace vistrel::engine {

namespace fs = std::filesystem;

namespace {

uint64_t fnv1a(const std::string& text) {
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : text) h = (h ^ c) * 1099511628211ull;
    return h;
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

std::string identityStem(const std::string& identity) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(fnv1a(identity)));
    return text;
}

}  // namespace vistrel::engine
