#pragma once
// Why FFmpeg cannot read a file, in FFmpeg's own words. FFMS2 reports only
// that it could not open the file; libavformat says why ("Invalid data found
// when processing input", "Permission denied", ...).

#include <optional>
#include <string>

namespace vistrel::engine {

// nullopt when libavformat opens the file and finds its streams.
std::optional<std::string> whyFfmpegCannotRead(const std::string& path);

}  // namespace vistrel::engine
