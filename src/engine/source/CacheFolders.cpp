#include "engine/source/CacheFolders.h"

#include <cstdlib>

namespace vistrel::engine {

namespace {

std::filesystem::path cacheFolder() {
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg) {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::filesystem::path(home) / ".cache";
    } else {
        base = std::filesystem::temp_directory_path();
    }
    return base / "vistrel";
}

}  // namespace

std::filesystem::path defaultIndexFolder() { return cacheFolder() / "index"; }

std::filesystem::path defaultProxyFolder() { return cacheFolder() / "proxy"; }

}  // namespace vistrel::engine
