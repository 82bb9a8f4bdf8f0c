#pragma once
// Angles of one made-up event for the sound matching: clips cut from one
// shared recording (noise bursts and pauses, like speech; or a band's steady
// beat), each starting at its own moment of it and with its own camera's
// faults (gain, noise of its own, echo, low-pass, rate, codec, a clock that
// runs fast or slow), with a tiny video track at 25 fps, or none (a sound
// recorder's file). The recording is made here from a seed, so a clip's
// offset to another is known exactly. Files are cached like TestMedia's.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vistrel::test {

// What the event sounds like: noise in bursts a few tenths of a second long
// with pauses between them, like speech; or a tone burst on every second,
// each of another pitch, like a band playing.
enum class Event { Speech, Beat };

// The rate of the event's recording, in samples a second.
inline constexpr int kEventRate = 48000;

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
    Event event = Event::Speech;
    // The camera's clock: it records the event's kEventRate samples in
    // kEventRate / clockRate of its seconds, so 47995 runs 104 ppm fast.
    int clockRate = kEventRate;
    // The picture: MPEG-4 Visual without B-frames, or e.g. libx264 with
    // {"-x264-params", "bframes=2"}, or none (""); and how long after the
    // sound it starts (MP4 keeps that in an edit list).
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

// A sound recorder's file of event `recording` that started `start` seconds
// into it: sound only, in `encoder` in `container` (e.g. "flac" in "flac").
inline SoundAngle soundRecording(std::string name, double start, std::string encoder, std::string container) {
    SoundAngle recording = soundAngle(std::move(name), start);
    recording.encoder = std::move(encoder);
    recording.container = std::move(container);
    recording.videoEncoder.clear();
    recording.videoOptions.clear();
    return recording;
}

// How fast, in parts per million, the angle's clock runs against that of
// `reference` (negative: slower).
inline double clockPpm(const SoundAngle& reference, const SoundAngle& angle) {
    return (double(reference.clockRate) / angle.clockRate - 1) * 1e6;
}

// The clip of one angle, made on first use; nullopt with the reason when
// ffmpeg or an encoder is missing here.
std::optional<std::filesystem::path> soundAngleClip(const SoundAngle& angle, std::string* skipReason = nullptr);

// What the sound matching should find for `angle` against angle A `a`: the
// angle's sound at t + offset is A's at t, both counted from the clip's
// first picture, where the later of the two starts (their clocks may drift
// apart after that).
inline double expectedOffset(const SoundAngle& a, const SoundAngle& angle) {
    const double rateA = double(kEventRate) / a.clockRate, rateAngle = double(kEventRate) / angle.clockRate;
    // The event's time at each clip's first picture.
    const double firstA = a.startSeconds + a.pictureLateSeconds / rateA;
    const double firstAngle = angle.startSeconds + angle.pictureLateSeconds / rateAngle;
    if (firstAngle > firstA) return -((firstAngle - a.startSeconds) * rateA - a.pictureLateSeconds);
    return (firstA - angle.startSeconds) * rateAngle - angle.pictureLateSeconds;
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
