#pragma once
// Recordings of one made-up event whose moments are marked twice: a camera's
// picture (160x120 FFV1, 25 fps, in .mkv) is white in the frame that starts at
// a moment, black otherwise; every recording's sound (mono, 48 kHz) clicks at
// each moment, silent otherwise. Where a recording starts in the event places
// its marks to the sample. Files are cached like TestMedia's.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vistrel::test {

inline constexpr int kMarkedFps = 25;
inline constexpr int kMarkedRate = 48000;
inline constexpr int16_t kClickLevel = 30000;  // 16 samples of it make a click

struct MarkedRecording {
    std::string name;
    double startSeconds = 0;  // where in the event it starts; a camera's on a frame
    double seconds = 20;
    std::string type = "mkv";  // "mkv": a camera; otherwise a sound recorder's file type ("wav", "flac", "m4a")
    std::string audioEncoder = "pcm_s16le";
};

// The marked moments, in seconds of the event, each on a frame (1/25 s).
const std::vector<double>& markedMoments();

// The file, made on first use; nullopt with the reason when an encoder is missing here.
std::optional<std::filesystem::path> markedRecording(const MarkedRecording& recording, std::string* skipReason);

}  // namespace vistrel::test
