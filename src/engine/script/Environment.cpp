#include "engine/script/Environment.h"

#include "engine/core/Utf8Path.h"

namespace vistrel::engine {

std::filesystem::path resolvePathInScript(const std::string& path, const Environment& env) {
    const std::filesystem::path given = utf8Path(path);
    if (given.is_absolute() || env.scriptFolder.empty()) return given;
    return env.scriptFolder / given;
}

}  // namespace vistrel::engine
