// Variable frame rates played at a constant one, by time: a phone clip and a phone's jittering clock.
#include "SourceFixture.h"
#include "engine/source/FrameRates.h"
#include "support/CameraMedia.h"

namespace vistrel::test {
namespace {

TEST_F(SourceTest, APhoneClipOfThirtyThenTwentyFourFpsPlaysAtThirtyByTime) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::phoneVariableRateMp4());
    auto clip = open(file);
    EXPECT_EQ(clip->info().fps, (engine::Rational{30, 1}));
    ASSERT_EQ(clip->info().frameCount, 1200);
    EXPECT_NEAR(double(clip->info().audioSamples), 40.0 * 48000, 2048) << "the sound as recorded";
    // Frame n shows the picture on screen at n / 30 s (after 20 s, 24 of them a second), in any order.
    for (int64_t n : {900, 1199, 601, 600, 599, 3, 950, 0, 450, 1000, 602, 7, 1198})
        EXPECT_EQ(readFrameIndex(*clip->frame(n)), n < 600 ? n : 600 + (n - 600) * 4 / 5) << "frame " << n;
}

TEST(ConformedTimes, AJitteringClockKeepsItsRateAndNoFrameIsRepeatedButForADroppedOne) {
    // Microseconds around 29.97 fps, 0.3 ms early and late by turns, the frame after frame 1 dropped.
    std::vector<int64_t> ticks;
    for (int64_t n = 0; n < 100; ++n) ticks.push_back((n < 2 ? n : n + 1) * 33367 + (n % 2 ? 180 : -120));
    engine::ConformedTiming timing = engine::conformToCommonRate(ticks, 1, 1000000);
    EXPECT_EQ(timing.fps, (engine::Rational{30000, 1001}));
    EXPECT_EQ(timing.sourceFrames.size(), 101u);
    timing.sourceFrames.resize(6);
    EXPECT_EQ(timing.sourceFrames, (std::vector<int32_t>{0, 1, 1, 2, 3, 4}));
}

}  // namespace
}  // namespace vistrel::test
