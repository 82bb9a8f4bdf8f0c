#pragma once
// Media files made at test time with the ffmpeg program: every frame shows
// its own index (see FrameIndexPattern.h) and every sound sample is a known
// integer (testSample), so a test can read back exactly which frame and which
// samples it got.
//
// Files are kept under $VISTREL_TEST_MEDIA (a temporary folder otherwise),
// named after the recipe and a hash of its encoding settings, and written
// under a temporary name then renamed, so parallel test programs share them
// and a later run reuses them.

#include "support/FrameIndexPattern.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace vistrel::test {

struct MediaRecipe {
    std::string name;                       // what the file is called
    std::string container;                  // file extension: "avi", "mp4", "ts", "mkv"
    std::string videoEncoder;               // an ffmpeg encoder name
    std::vector<std::string> videoOptions;  // further encoder options, e.g. {"-bf", "2"}
    std::string pixelFormat = "yuv420p";
    int width = 320;
    int height = 240;
    int64_t fpsNum = 25;
    int64_t fpsDen = 1;
    int frames = 200;
    int audioRate = 0;  // 0: no sound
    int audioChannels = 0;
    std::string audioEncoder = "pcm_s16le";
    // An ffmpeg setpts expression that makes the frame times uneven; empty: a constant rate.
    std::string frameTimes;
    // With uneven frame times: how long the recording lasts, which its sound
    // lasts too; 0: frames / fps.
    int seconds = 0;

    int64_t audioSamples() const;  // per channel: as long as the video
};

// How GoogleTest names a recipe in its messages.
inline void PrintTo(const MediaRecipe& recipe, std::ostream* out) { *out << recipe.name; }

// The value of sample s of channel c in every generated file (as 16-bit PCM;
// a float file holds it divided by 32768).
int16_t testSample(int64_t s, int channel);

// The file for a recipe, made on first use. nullopt when the ffmpeg program
// or the recipe's encoder is missing, with the reason in skipReason. Throws
// std::runtime_error when ffmpeg fails.
std::optional<std::filesystem::path> testMedia(const MediaRecipe& recipe, std::string* skipReason = nullptr);

// Where the files are kept.
std::filesystem::path testMediaFolder();

// Whether the ffmpeg program has this encoder.
bool ffmpegHasEncoder(const std::string& encoder);

// Runs the ffmpeg program; throws std::runtime_error with its output when it fails.
void runFfmpeg(const QStringList& args);

// The file of this name in the test media folder, made on first use by
// make(part), which writes a temporary path with the same extension that is
// renamed into place once whole.
std::filesystem::path cachedTestFile(const std::string& fileName,
                                     const std::function<void(const std::filesystem::path& part)>& make);

// "name-<hash of key>.extension": a name that changes with what made the file.
std::string stableName(const std::string& name, const std::string& key, const std::string& extension);

namespace recipes {
MediaRecipe mjpegAvi();           // MJPEG, full-range 4:2:0, PCM stereo
MediaRecipe ffv1Avi();            // FFV1 4:2:0, PCM stereo
MediaRecipe mpeg4BFramesAvi();    // MPEG-4 Visual with two B-frames, open GOPs, PCM stereo
MediaRecipe mpeg4ClosedGopAvi();  // MPEG-4 Visual with three B-frames, closed GOPs of 17
MediaRecipe mpeg2BFramesAvi();    // MPEG-2 with two B-frames
MediaRecipe mpeg1BFramesAvi();    // MPEG-1 with two B-frames
MediaRecipe h264BFramesAvi();     // H.264 with B-frames, PCM stereo
MediaRecipe rawBgrAvi();          // uncompressed BGR, PCM stereo
MediaRecipe h264Mp4();            // H.264 with B-frames in MP4, no sound
MediaRecipe h264Ts();             // H.264 with B-frames in MPEG-TS, no sound
MediaRecipe ntscStereoAvi();      // 30000/1001 fps, 48 kHz stereo
MediaRecipe ntscH264Mkv();        // 30000/1001 fps H.264 with B-frames, times rounded to milliseconds
MediaRecipe yuv422Avi();          // FFV1 4:2:2
MediaRecipe floatAudioMkv();      // FFV1 with 32-bit float PCM
MediaRecipe flacAudioMkv();       // FFV1 with 16-bit FLAC (lossless, decoded to planar samples)
MediaRecipe u8AudioAvi();         // FFV1 with 8-bit unsigned PCM
MediaRecipe variableRateMkv();    // 25 fps, then 50 fps from frame 60
MediaRecipe silentAvi();          // FFV1 without sound

// Every recipe above with a constant frame rate.
std::vector<MediaRecipe> constantRate();
}  // namespace recipes

}  // namespace vistrel::test

// Declares `std::filesystem::path var` holding the recipe's file, or skips
// the test with the reason when it cannot be made here.
#define VISTREL_TEST_MEDIA_OR_SKIP(var, recipe)                                         \
    std::filesystem::path var;                                                          \
    do {                                                                                \
        std::string vistrelSkipReason_;                                                 \
        auto vistrelMedia_ = ::vistrel::test::testMedia((recipe), &vistrelSkipReason_); \
        if (!vistrelMedia_) GTEST_SKIP() << vistrelSkipReason_;                         \
        var = *vistrelMedia_;                                                           \
    } while (false)
