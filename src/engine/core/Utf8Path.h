#pragma once
// File names travel through the engine as UTF-8 text (as scripts hold them
// and as FFMS2 takes them). These turn them into filesystem paths and back
// without going through the system's narrow code page (which on Windows is
// not UTF-8).

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <string_view>

namespace vistrel::engine {

inline std::filesystem::path utf8Path(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string utf8Text(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// True for a path whose name ends in ".avs", in any case: a script, run
// rather than decoded.
inline bool isScriptPath(const std::string& path) {
    static constexpr std::string_view kExtension = ".avs";
    if (path.size() < kExtension.size()) return false;
    return std::equal(kExtension.begin(), kExtension.end(), path.end() - kExtension.size(),
                      [](char want, char have) { return want == std::tolower(static_cast<unsigned char>(have)); });
}

}  // namespace vistrel::engine
