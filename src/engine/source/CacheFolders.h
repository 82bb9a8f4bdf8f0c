#pragma once
// Where the engine keeps what it can make again: the sources' indexes and
// the preview proxies, under $XDG_CACHE_HOME/vistrel (~/.cache/vistrel when
// it is unset).

#include <filesystem>

namespace vistrel::engine {

// $XDG_CACHE_HOME/vistrel/index.
std::filesystem::path defaultIndexFolder();
// Beside it: $XDG_CACHE_HOME/vistrel/proxy.
std::filesystem::path defaultProxyFolder();

}  // namespace vistrel::engine
