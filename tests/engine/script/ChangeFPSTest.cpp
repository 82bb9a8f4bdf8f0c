// ChangeFPS and AssumeFPS over clips whose frame n carries n, in their three
// forms, and their refusals.
#include "engine/script/ScriptHarness.h"

#include <gtest/gtest.h>

namespace vistrel::test {
namespace {

struct ChangeFpsCase {
    const char* script;
    engine::Rational fps;
    int64_t frames;
    std::vector<std::pair<int64_t, int64_t>> shows;  // output frame: source frame
    const char* error = nullptr;                     // what a refused call says instead
    int audioRate = 48000;
    int64_t sourceFrames = 100;  // the TestClip's, whose sound stays as it is
};

class ChangeFps : public ::testing::TestWithParam<ChangeFpsCase> {};

TEST_P(ChangeFps, RateCountAndTheFrameShownOrTheRefusal) {
    ScriptHarness script;
    if (const char* error = GetParam().error) {
        EXPECT_EQ(script.errorOf(GetParam().script).rfind(error, 0), 0u) << script.errorOf(GetParam().script);
        return;
    }
    const engine::ClipPtr clip = script.runClip(GetParam().script);
    EXPECT_EQ(clip->info().fps, GetParam().fps);
    ASSERT_EQ(clip->info().frameCount, GetParam().frames);
    EXPECT_EQ(clip->info().audioSamples, GetParam().sourceFrames * 48000 / 25) << "the child's sound, untouched";
    EXPECT_EQ(clip->info().audioRate, GetParam().audioRate);
    for (auto [n, source] : GetParam().shows) EXPECT_EQ(frameIndexOf(*clip->frame(n)), source) << "frame " << n;
}

// 25 -> 30: frame 3 lies at source 2.5, frame 95 at 79.17: floored, not rounded.
INSTANTIATE_TEST_SUITE_P(
    TableRows, ChangeFps,
    ::testing::Values(
        ChangeFpsCase{
            "TestClip(frames=100, fps=25).ChangeFPS(30)", {30, 1}, 120, {{3, 2}, {6, 5}, {95, 79}, {119, 99}}},
        ChangeFpsCase{"TestClip(frames=100, fps=25).ChangeFPS(24000, 1001)", {24000, 1001}, 96, {{4, 4}, {95, 99}}},
        ChangeFpsCase{"TestClip(frames=100, fps=25).ChangeFPS(29.97)", {30000, 1001}, 120, {{5, 4}, {119, 99}}},
        ChangeFpsCase{"TestClip(frames=100, fps=25).ChangeFPS(TestClip(fps=24))", {24, 1}, 96, {{24, 25}, {95, 98}}},
        ChangeFpsCase{"TestClip(frames=100, fps=25).ChangeFPS(2, linear=false)", {2, 1}, 8, {{1, 12}, {7, 87}}},
        ChangeFpsCase{"TestClip(fps=25).ChangeFPS(2)", {}, 0, {}, "ChangeFPS: Ratio must be less than 10 for linear"},
        ChangeFpsCase{"TestClip().ChangeFPS(TestClip(video=false))",
                      {},
                      0,
                      {},
                      "ChangeFPS: The clip supplied to get the FPS from must contain video."},
        ChangeFpsCase{"TestClip(frames=2000000000, fps=1).ChangeFPS(2, linear=false)",
                      {},
                      0,
                      {},
                      "ChangeFPS: Maximum number of frames exceeded."}));

// AssumeFPS keeps every frame where it is; sync_audio moves the sound's rate
// by the same ratio (48000 * 24000 / 1001 / 25 = 46033.97). A drifting angle
// is retimed with it, then conformed to angle A's rate by ChangeFPS.
INSTANTIATE_TEST_SUITE_P(
    AssumeFPSRows, ChangeFps,
    ::testing::Values(
        ChangeFpsCase{"TestClip(frames=100, fps=25).AssumeFPS(30)", {30, 1}, 100, {{3, 3}, {99, 99}}},
        ChangeFpsCase{"TestClip(frames=100, fps=25).AssumeFPS(29.97)", {30000, 1001}, 100, {{50, 50}}},
        ChangeFpsCase{"TestClip(frames=100, fps=25).AssumeFPS(TestClip(fps=24))", {24, 1}, 100, {{7, 7}}},
        ChangeFpsCase{"TestClip(frames=100, fps=25).AssumeFPS(24000, 1001, sync_audio=true)",
                      {24000, 1001},
                      100,
                      {},
                      nullptr,
                      46034},
        ChangeFpsCase{"ChangeFPS(AssumeFPS(TestClip(frames=100, fps=25), 24), 25, 1)", {25, 1}, 104, {{25, 24}}},
        // A camera 104.2 ppm fast, kept in step: at the hour's last frame it
        // shows what it filmed then (frame 90008.4 of its own), within half a frame.
        ChangeFpsCase{"ChangeFPS(AssumeFPS(TestClip(frames=90010, fps=25), 5000521, 200000), 25, 1)",
                      {25, 1},
                      90001,
                      {{89999, 90008}},
                      nullptr,
                      48000,
                      90010},
        ChangeFpsCase{"TestClip().AssumeFPS(25, 0)", {}, 0, {}, "AssumeFPS: Denominator cannot be 0 (zero)."},
        ChangeFpsCase{
            "TestClip().AssumeFPS(-25)", {}, 0, {}, "AssumeFPS: Numerator and denominator must be positive."}));

}  // namespace
}  // namespace vistrel::test
