#pragma once
// File names travel through the engine as UTF-8 text (as scripts hold them
// and as FFMS2 takes them). These turn them into filesystem paths and back
// without going through the system's narrow code page (which on Windows is
// not UTF-8).

#include <filesystem>
#include <string>

namespace vistrel::engine {

inline std::filesystem::path utf8Path(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string utf8Text(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace vistrel::engine
