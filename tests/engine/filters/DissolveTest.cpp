#include "TestClips.h"
#include "engine/clips/Dissolve.h"
#include "engine/core/StillClip.h"
#include "engine/filters/FunctionTable.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vistrel::engine;
using namespace vistrel::test;

namespace {

// The blend written out once more, straight from its definition.
uint8_t referenceBlend(int a, int b, int k, int ov) {
    const float wf = float(double(k + 1) / (ov + 1.0));
    const int wi = int(wf * 32767.0f + 0.5f);
    return uint8_t((a * (32767 - wi) + b * wi + 16384) >> 15);
}

VideoInfo rgbInfo(int64_t frames, Rational fps = {24, 1}) { return videoInfo(8, 4, PixelType::RGB32, frames, fps); }

// Frame n of the result as the value of its first byte.
std::vector<int> firstBytes(Clip& c) {
    std::vector<int> out;
    for (int64_t n = 0; n < c.info().frameCount; ++n) out.push_back(c.frame(n)->plane(0).row(0)[0]);
    return out;
}

ClipPtr counting(int64_t frames, int base) {
    return flatClip(rgbInfo(frames), [base](int64_t n) { return uint8_t(base + n); });
}

TEST(DissolveFrames, OverlapZeroJoinsTheClips) {
    Dissolve d(counting(3, 10), counting(2, 100), 0);
    EXPECT_EQ(firstBytes(d), (std::vector<int>{10, 11, 12, 100, 101}));
}

TEST(DissolveFrames, OverlapLongerThanTheFirstClipBlendsAllOfIt) {
    Dissolve d(constantClip(rgbInfo(5), 0), constantClip(rgbInfo(10), 255), 8);
    ASSERT_EQ(d.info().frameCount, 10);
    EXPECT_EQ(firstBytes(d)[0], referenceBlend(0, 255, 3, 8)) << "first frame is 4/9 of the second clip";
    EXPECT_EQ(firstBytes(d)[4], referenceBlend(0, 255, 7, 8));
    EXPECT_EQ(firstBytes(d)[5], 255);
}

TEST(DissolveFrames, OverlapLongerThanTheSecondClipLosesTheFirstClipsTail) {
    Dissolve d(counting(10, 0), counting(3, 100), 5);
    ASSERT_EQ(d.info().frameCount, 8);
    const std::vector<int> v = firstBytes(d);
    EXPECT_EQ(v[4], 4);
    EXPECT_EQ(v[5], referenceBlend(5, 100, 0, 5));
    EXPECT_EQ(v[7], referenceBlend(7, 102, 2, 5));
    EXPECT_EQ(d.frame(9)->plane(0).row(0)[0], v[7]) << "requests past the end give the last frame";
}

TEST(DissolveFrames, BlackToWhiteOverFourFrames) {
    Dissolve d(constantClip(rgbInfo(6), 0), constantClip(rgbInfo(6), 255), 4);
    const std::vector<int> v = firstBytes(d);
    EXPECT_EQ(std::vector<int>(v.begin() + 2, v.begin() + 6), (std::vector<int>{51, 102, 153, 204}));
}

TEST(DissolveFrames, BlackToWhiteOverSevenFrames) {
    Dissolve d(constantClip(rgbInfo(7), 0), constantClip(rgbInfo(7), 255), 7);
    const std::vector<int> v = firstBytes(d);
    EXPECT_EQ(std::vector<int>(v.begin(), v.begin() + 7), (std::vector<int>{32, 64, 96, 128, 159, 191, 223}));
}

TEST(DissolveFrames, MoreClipsFoldFromTheLeft) {
    Environment env;
    ClipPtr a = counting(10, 0), b = counting(10, 50), c = counting(10, 100);
    Args args = makeArgs({{a}, {b, c}, {int32_t(3)}}, 4);
    ClipPtr d = std::get<ClipPtr>(createDissolve(args, env));
    EXPECT_EQ(d->info().frameCount, 24);
    EXPECT_EQ(d->frame(23)->plane(0).row(0)[0], 109);
}

TEST(DissolveFrames, DifferentFrameRatesAreAcceptedAndTheFirstClipsRateKept) {
    Dissolve d(constantClip(rgbInfo(10, {24, 1}), 0), constantClip(rgbInfo(10, {30, 1}), 0), 2);
    EXPECT_EQ(d.info().fps, (Rational{24, 1}));
}

// Every byte pair (a, b): the first clip's frame has byte value x in column
// x, the second's has y in row y, in every channel including alpha.
class BlendAllPairs : public ::testing::TestWithParam<int> {};

TEST_P(BlendAllPairs, EveryByteOfEveryChannelFollowsTheBlend) {
    const int ov = GetParam();
    const VideoInfo vi = videoInfo(256, 256, PixelType::RGB32, ov);
    MutableFramePtr across = Frame::create(256, 256, PixelType::RGB32), down = across->clone();
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 1024; ++x) {
            across->plane(0).row(y)[x] = uint8_t(x / 4);
            down->plane(0).row(y)[x] = uint8_t(y);
        }
    Dissolve d(std::make_shared<StillClip>(vi, across), std::make_shared<StillClip>(vi, down), ov);
    for (int k = 0; k < ov; ++k) {
        FramePtr f = d.frame(k);
        int wrong = 0;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 1024; ++x) wrong += f->plane(0).row(y)[x] != referenceBlend(x / 4, y, k, ov);
        EXPECT_EQ(wrong, 0) << "overlap " << ov << ", frame " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Overlaps, BlendAllPairs, ::testing::Values(1, 4, 7, 20));

TEST(DissolveFrames, Yv12BlendsEveryPlane) {
    const VideoInfo vi = videoInfo(16, 8, PixelType::YV12, 4);
    auto first = std::make_shared<PatternClip>(vi, [](int64_t, int p) { return uint8_t(10 + 100 * p); });
    auto second = std::make_shared<PatternClip>(vi, [](int64_t, int p) { return uint8_t(60 + 50 * p); });
    Dissolve d(first, second, 3);
    FramePtr f = d.frame(2);
    EXPECT_EQ(byteAt(*f, 0, 15, 7), referenceBlend(10, 60, 1, 3));
    EXPECT_EQ(byteAt(*f, 1, 7, 3), referenceBlend(110, 110, 1, 3));
    EXPECT_EQ(byteAt(*f, 2, 7, 3), referenceBlend(210, 160, 1, 3));
}

struct CheckCase {
    const char* what;
    VideoInfo first;
    VideoInfo second;
    int overlap;
    const char* message;
};

VideoInfo audioVideo(int w, int h, PixelType t, int rate, int channels) {
    return withAudio(videoInfo(w, h, t, 10), rate, channels, SampleType::Int16);
}

class DissolveChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(DissolveChecks, TheFirstMismatchInOrderIsReported) {
    const CheckCase& c = GetParam();
    EXPECT_EQ(scriptErrorOf([&] { Dissolve(constantClip(c.first, 0), constantClip(c.second, 0), c.overlap); }),
              c.message)
        << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    InOrder, DissolveChecks,
    ::testing::Values(
        CheckCase{"video against sound only", audioVideo(8, 8, PixelType::RGB32, 44100, 1),
                  withAudio(VideoInfo{}, 44100, 1, SampleType::Int16, 100), -1,
                  "Dissolve: one clip has video and the other doesn't (not allowed)"},
        CheckCase{"sound against none", audioVideo(8, 8, PixelType::RGB32, 44100, 1),
                  videoInfo(16, 8, PixelType::YV12, 10), -1,
                  "Dissolve: one clip has audio and the other doesn't (not allowed)"},
        CheckCase{"negative overlap", audioVideo(8, 8, PixelType::RGB32, 44100, 1),
                  audioVideo(16, 8, PixelType::YV12, 48000, 2), -1,
                  "Dissolve: Cannot dissolve if overlap is less than zero"},
        CheckCase{"mono against stereo", audioVideo(8, 8, PixelType::RGB32, 44100, 1),
                  audioVideo(16, 8, PixelType::YV12, 48000, 2), 2,
                  "Dissolve: The number of audio channels doesn't match"},
        CheckCase{"44.1 against 48 kHz", audioVideo(8, 8, PixelType::RGB32, 44100, 2),
                  audioVideo(16, 8, PixelType::YV12, 48000, 2), 2,
                  "Dissolve: The audio of the two clips have different samplerates! Use SSRC()/ResampleAudio()"},
        CheckCase{"sizes", audioVideo(8, 8, PixelType::RGB32, 48000, 2), audioVideo(16, 8, PixelType::YV12, 48000, 2),
                  2, "Dissolve: frame sizes don't match"},
        CheckCase{"formats", audioVideo(16, 8, PixelType::RGB32, 48000, 2),
                  audioVideo(16, 8, PixelType::YV12, 48000, 2), 2, "Dissolve: video formats don't match"}));

// 10 frames at 24 fps with 48 kHz sound: 20000 samples per clip.
VideoInfo soundClip(SampleType type, int channels = 1) {
    return withAudio(videoInfo(8, 4, PixelType::RGB32, 10), 48000, channels, type);
}

TEST(DissolveSound, FloatRampFromDcIntoSilence) {
    Dissolve d(constantClip(soundClip(SampleType::Float32), 0, [](int64_t, int) { return 0.5; }),
               constantClip(soundClip(SampleType::Float32), 0), 4);
    ASSERT_EQ(d.info().audioSamples, 32000);
    const std::vector<float> s = readSamples<float>(d, 0, 32000);
    EXPECT_EQ(s[11999], 0.5f);
    EXPECT_EQ(s[12000], 0.5f);
    EXPECT_FLOAT_EQ(s[12001], 0.5f * 7998.0f / 7999.0f);
    EXPECT_FLOAT_EQ(s[16000], 0.5f * 3999.0f / 7999.0f);
    EXPECT_EQ(s[19999], 0.0f);
    EXPECT_EQ(s[31999], 0.0f);
}

TEST(DissolveSound, Int16RampRoundsToNearest) {
    Dissolve d(constantClip(soundClip(SampleType::Int16, 2), 0, [](int64_t, int c) { return c ? -1000 : 1000; }),
               constantClip(soundClip(SampleType::Int16, 2), 0), 4);
    const std::vector<int16_t> s = readSamples<int16_t>(d, 12000, 8000);
    for (int64_t i : {1, 2, 3999, 4000, 7998}) {
        const int64_t remaining = 7999 - i;
        const int expected = int(std::lround(1000.0 * double(remaining) / 7999.0));
        EXPECT_EQ(s[size_t(2 * i)], expected) << "sample " << 12000 + i;
        EXPECT_EQ(s[size_t(2 * i + 1)], -expected) << "sample " << 12000 + i;
    }
}

TEST(DissolveSound, SecondClipFollowsAfterTheRamp) {
    Dissolve d(constantClip(soundClip(SampleType::Int16), 0),
               constantClip(soundClip(SampleType::Int16), 0, [](int64_t s, int) { return double(s % 1000); }), 4);
    const std::vector<int16_t> s = readSamples<int16_t>(d, 19999, 2000);
    for (int i = 0; i < 2000; ++i) ASSERT_EQ(s[size_t(i)], (19999 + i - 12000) % 1000) << i;
}

TEST(DissolveSound, PiecewiseReadsMatchOneWholeRead) {
    Dissolve d(constantClip(soundClip(SampleType::Int16), 0, [](int64_t s, int) { return double(s % 3000); }),
               constantClip(soundClip(SampleType::Int16), 0, [](int64_t s, int) { return -double(s % 2000); }), 4);
    const std::vector<int16_t> whole = readSamples<int16_t>(d, 0, 32000);
    for (int64_t start = 0; start < 32000; start += 997) {
        const int64_t count = std::min<int64_t>(997, 32000 - start);
        const std::vector<int16_t> part = readSamples<int16_t>(d, start, count);
        ASSERT_TRUE(std::equal(part.begin(), part.end(), whole.begin() + start)) << "from " << start;
    }
}

TEST(DissolveSound, JoinWithoutOverlapSwitchesAtTheFirstClipsEnd) {
    Dissolve d(constantClip(soundClip(SampleType::Int16), 0, [](int64_t, int) { return 7.0; }),
               constantClip(soundClip(SampleType::Int16), 0, [](int64_t, int) { return 9.0; }), 0);
    ASSERT_EQ(d.info().audioSamples, 40000);
    const std::vector<int16_t> s = readSamples<int16_t>(d, 19998, 4);
    EXPECT_EQ(s, (std::vector<int16_t>{7, 7, 9, 9}));
}

TEST(DissolveSound, MixedSampleTypesBecomeFloat) {
    Dissolve d(constantClip(soundClip(SampleType::Int16), 0, [](int64_t, int) { return 16384.0; }),
               constantClip(soundClip(SampleType::Float32), 0, [](int64_t, int) { return -0.25; }), 4);
    ASSERT_EQ(d.info().sampleType, SampleType::Float32);
    const std::vector<float> s = readSamples<float>(d, 0, 32000);
    EXPECT_EQ(s[0], 0.5f);
    EXPECT_EQ(s[31999], -0.25f);
}

TEST(DissolveSound, OverlapLongerThanTheFirstClipRampsFromTheStart) {
    Dissolve d(constantClip(soundClip(SampleType::Float32), 0, [](int64_t, int) { return 1.0; }),
               constantClip(soundClip(SampleType::Float32), 0), 12);
    // The ramp would start 2 frames (4000 samples) before the clip: it is
    // already under way at sample 0.
    EXPECT_EQ(d.info().audioSamples, 20000);
    const std::vector<float> s = readSamples<float>(d, 0, 2);
    EXPECT_FLOAT_EQ(s[0], 19999.0f / 23999.0f);
}

}  // namespace
