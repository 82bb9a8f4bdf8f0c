#pragma once
// Angles of one made-up event for the sound matching: clips cut from one
// shared recording (noise bursts and pauses, like speech), each starting at
// its own moment of it and with its own camera's faults (gain, noise of its
// own, echo, low-pass, rate, codec), with a tiny video track at 25 fps.
// The recording is made here from a seed, so a clip's offset to another is
// known exactly. Files are cached like TestMedia's.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vistrel::test {

struct SoundAngle {
    std::string name;             // names the file
    double startSeconds = 10;     // where in the shared recording the clip starts
    double seconds = 40;          // how long it is
    std::string filters;          // ffmpeg audio filters for the camera, e.g. "volume=0.1"
    std::optional<double> snrDb;  // noise of its own, this many dB below the sound (0: as loud)
    int rate = 48000;
    std::string encoder = "pcm_s16le";
    std::string container = "mkv";
    int recording = 1;  // another number: another event altogether
    // The picture: MPEG-4 Visual without B-frames, or e.g. libx264 with
    // {"-x264-params", "bframes=2"}; and how long after the sound it starts
    // (MP4 keeps that in an edit list).
    std::string videoEncoder = "mpeg4";
    std::vector<std::string> videoOptions = {"-q:v", "10"};
    double pictureLateSeconds = 0;
};

inline void PrintTo(const SoundAngle& angle, std::ostream* out) { *out << angle.name; }

// A clean camera of event `recording` that started `start` seconds into it.
inline SoundAngle soundAngle(std::string name, double start, int recording = 1) {
    SoundAngle angle;
    angle.name = std::move(name);
    angle.startSeconds = start;
    angle.recording = recording;
    return angle;
}

// The clip of one angle, made on first use; nullopt with the reason when
// ffmpeg or an encoder is missing here.
std::optional<std::filesystem::path> soundAngleClip(const SoundAngle& angle, std::string* skipReason = nullptr);

// What the sound matching should find for `angle` against angle A `a`: the
// angle's sound at t + offset is A's at t, both counted from the clip's
// first picture.
inline double expectedOffset(const SoundAngle& a, const SoundAngle& angle) {
    return a.startSeconds + a.pictureLateSeconds - angle.startSeconds - angle.pictureLateSeconds;
}

}  // namespace vistrel::test

#define VISTREL_SOUND_ANGLE_OR_SKIP(var, angle)                                            \
    std::filesystem::path var;                                                             \
    do {                                                                                   \
        std::string vistrelSkipReason_;                                                    \
        auto vistrelClip_ = ::vistrel::test::soundAngleClip((angle), &vistrelSkipReason_); \
        if (!vistrelClip_) GTEST_SKIP() << vistrelSkipReason_;                             \
        var = *vistrelClip_;                                                               \
    } while (false)
