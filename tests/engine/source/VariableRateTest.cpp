// Variable frame rates played at a constant one, by time: generated phone
// footage whose frames carry their index, and frame times as containers round them.
#include "SourceFixture.h"

#include "engine/source/ConformedRate.h"
#include "support/CameraMedia.h"

#include <cmath>
#include <functional>

namespace vistrel::test {
namespace {

using engine::Rational;

// 20 s at 30 fps, then 20 s at 24: the picture on screen at n / 30 s.
int64_t phonePictureAt(int64_t n) { return n < 600 ? n : 600 + (n - 600) * 4 / 5; }

TEST_F(SourceTest, APhoneClipOfThirtyThenTwentyFourFpsPlaysAtThirtyByTime) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::phoneVariableRateMp4());
    auto clip = open(file);
    const engine::VideoInfo& info = clip->info();
    EXPECT_TRUE(clip->conformed());
    EXPECT_EQ(info.fps, (Rational{30, 1}));
    ASSERT_EQ(info.frameCount, 1200);
    EXPECT_EQ(readFrameIndex(*clip->frame(900)), 840) << "the picture at 30.0 s";

    // Forward through all of it, then back and about: each frame is the one on screen at its time.
    std::vector<int64_t> order;
    for (int64_t n = 0; n < 1200; ++n) order.push_back(n);
    for (int64_t n : {1199, 1100, 601, 600, 599, 3, 950, 598, 0, 1198}) order.push_back(n);
    int wrong = 0;
    for (int64_t n : order)
        if (const int shown = readFrameIndex(*clip->frame(n)); shown != phonePictureAt(n) && ++wrong <= 10)
            ADD_FAILURE() << "frame " << n << " shows " << shown << ", not " << phonePictureAt(n);
    EXPECT_EQ(wrong, 0);

    // The sound is the recording's own: 40 s, not stretched to the pictures' count.
    ASSERT_TRUE(info.hasAudio());
    EXPECT_EQ(info.audioRate, 48000);
    EXPECT_NEAR(double(info.audioSamples), 40.0 * 48000, 2048);
}

// Frame times as containers store them, each with the rate and length they conform to.
struct TimesRow {
    const char* name;
    int64_t tickDen;  // ticks of 1 / tickDen s
    std::function<int64_t(int64_t)> tick;
    int64_t frames;
    Rational fps;
    int64_t conformedFrames;
    std::vector<std::pair<int64_t, int32_t>> shows;  // frame n of the clip: source frame
};

class ConformedTimes : public ::testing::TestWithParam<TimesRow> {};

TEST_P(ConformedTimes, GiveTheCommonRateAndTheFrameOnScreen) {
    const TimesRow& row = GetParam();
    std::vector<int64_t> ticks;
    for (int64_t n = 0; n < row.frames; ++n) ticks.push_back(row.tick(n));
    const engine::ConformedTiming timing = engine::conformToCommonRate(ticks, 1, row.tickDen);
    EXPECT_EQ(timing.fps, row.fps);
    ASSERT_EQ(int64_t(timing.sourceFrames.size()), row.conformedFrames);
    for (auto [n, source] : row.shows) EXPECT_EQ(timing.sourceFrames[size_t(n)], source) << "frame " << n;
}

INSTANTIATE_TEST_SUITE_P(
    Containers, ConformedTimes,
    ::testing::Values(
        // Matroska's milliseconds: 30 fps then 24 fps, rounded; no frame repeated at 30.
        TimesRow{"MillisecondsThirtyThenTwentyFour", 1000,
                 [](int64_t n) { return n < 300 ? std::llround(n * 1000.0 / 30) : 10000 + std::llround((n - 300) * 1000.0 / 24); },
                 540, {30, 1}, 600, {{1, 1}, {2, 2}, {299, 299}, {300, 300}, {305, 304}, {599, 539}}},
        // A phone's microsecond clock, jittering around 29.97 fps with a dropped frame.
        TimesRow{"JitteredNtscWithADroppedFrame", 1000000,
                 [](int64_t n) { return (n < 50 ? n : n + 1) * 33367 + (n % 3 == 0 ? 150 : -90); },
                 100, {30000, 1001}, 101, {{49, 49}, {50, 49}, {51, 50}, {100, 99}}},
        // Half the frames at 25 fps, half at 50: the shorter duration keeps every frame.
        TimesRow{"EquallyCommonKeepsTheShorter", 1000,
                 [](int64_t n) { return n < 60 ? n * 40 : 2400 + (n - 60) * 20; },
                 120, {50, 1}, 180, {{0, 0}, {1, 0}, {2, 1}, {119, 59}, {120, 60}, {179, 119}}},
        // A rate far from every standard one keeps its own duration.
        TimesRow{"UnusualRateKeptAsIs", 90000, [](int64_t n) { return n < 40 ? n * 5000 : 200000 + (n - 40) * 9000; },
                 60, {18, 1}, 76, {{1, 1}, {39, 39}, {40, 40}, {41, 40}, {42, 41}, {75, 59}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConformedTimesEdges, NoDurationGivesNoTiming) {
    const std::vector<int64_t> one{0}, same{7, 7, 7};
    EXPECT_TRUE(engine::conformToCommonRate(one, 1, 1000).sourceFrames.empty());
    EXPECT_TRUE(engine::conformToCommonRate(same, 1, 1000).sourceFrames.empty());
}

}  // namespace
}  // namespace vistrel::test
