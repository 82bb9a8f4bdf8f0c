// ChangeFPS over clips whose frame n carries n: the rate, the count and the
// frame each output frame shows, in all three forms; the sound as it was.
#include "engine/language/ScriptHarness.h"

#include <gtest/gtest.h>

namespace vistrel::test {
namespace {

using engine::Rational;

struct ChangeFpsCase {
    const char* script;
    Rational fps;
    int64_t frames;
    std::vector<std::pair<int64_t, int64_t>> shows;  // output frame: source frame
};

std::ostream& operator<<(std::ostream& out, const ChangeFpsCase& c) { return out << c.script; }

class ChangeFpsFrames : public ::testing::TestWithParam<ChangeFpsCase> {};

TEST_P(ChangeFpsFrames, RateCountAndTheFrameShown) {
    const ChangeFpsCase& expected = GetParam();
    ScriptHarness script;
    const engine::ClipPtr clip = script.runClip(expected.script);
    EXPECT_EQ(clip->info().fps, expected.fps);
    ASSERT_EQ(clip->info().frameCount, expected.frames);
    for (auto [n, source] : expected.shows) EXPECT_EQ(frameIndexOf(*clip->frame(n)), source) << "frame " << n;
}

INSTANTIATE_TEST_SUITE_P(
    TableRows, ChangeFpsFrames,
    ::testing::Values(
        // 25 -> 30: a = 25, b = 30; frame 3 is at source 2.5 and frame 95 at 98.96: floored, not rounded.
        ChangeFpsCase{"TestClip(frames=1500, fps=25).ChangeFPS(30)", {30, 1}, 1800,
                      {{0, 0}, {3, 2}, {5, 4}, {6, 5}, {1799, 1499}}},
        ChangeFpsCase{"TestClip(frames=100, fps=25).ChangeFPS(30000, 1001)", {30000, 1001}, 120,
                      {{5, 4}, {6, 5}, {119, 99}}},
        ChangeFpsCase{"TestClip(frames=100, fps=25).ChangeFPS(50, 2)", {25, 1}, 100, {{0, 0}, {57, 57}, {99, 99}}},
        // Typed NTSC rates stand for n * 1000/1001; other floats for the simplest equal fraction.
        ChangeFpsCase{"TestClip(frames=300, fps=30).ChangeFPS(29.97)", {30000, 1001}, 300, {{100, 100}, {299, 299}}},
        ChangeFpsCase{"TestClip(frames=100, fps=30).ChangeFPS(23.976)", {24000, 1001}, 80,
                      {{4, 5}, {79, 98}}},
        ChangeFpsCase{"TestClip(frames=51, fps=25).ChangeFPS(12.5)", {25, 2}, 26, {{1, 2}, {25, 50}}},
        // Another clip's rate, exactly.
        ChangeFpsCase{"TestClip(frames=100, fps=25).ChangeFPS(TestClip(fps=24))", {24, 1}, 96,
                      {{24, 25}, {95, 98}}},
        // A ratio above 10 needs linear=false.
        ChangeFpsCase{"TestClip(frames=100, fps=25).ChangeFPS(2, linear=false)", {2, 1}, 8, {{1, 12}, {7, 87}}},
        ChangeFpsCase{"TestClip(frames=10, fps=24).ChangeFPS(250)", {250, 1}, 104, {{10, 0}, {11, 1}, {103, 9}}}));

TEST(ChangeFps, LeavesTheSoundAsItWas) {
    ScriptHarness script;
    const engine::ClipPtr source = script.runClip("TestClip(frames=100, fps=25)");
    const engine::ClipPtr changed = script.runClip("TestClip(frames=100, fps=25).ChangeFPS(30000, 1001)");
    EXPECT_EQ(changed->info().audioSamples, source->info().audioSamples);
    EXPECT_EQ(changed->info().audioRate, source->info().audioRate);
    EXPECT_EQ(readSamples(*changed, 90000, 50), readSamples(*source, 90000, 50));
}

TEST(ChangeFps, RefusesWhatItCannotDo) {
    ScriptHarness script;
    for (auto [call, message] :
         {std::pair{"TestClip(fps=25).ChangeFPS(2)",
                    "ChangeFPS: Ratio must be less than 10 for linear access. Set LINEAR=False."},
          {"TestClip().ChangeFPS(0)", "ChangeFPS: Numerator and denominator must be positive."},
          {"TestClip().ChangeFPS(25, -1)", "ChangeFPS: Numerator and denominator must be positive."},
          {"TestClip().ChangeFPS(-2.5)", "ChangeFPS: Numerator and denominator must be positive."},
          {"TestClip().ChangeFPS(TestClip(video=false))",
           "ChangeFPS: The clip supplied to get the FPS from must contain video."},
          {"TestClip(frames=2000000000, fps=1).ChangeFPS(2, linear=false)",
           "ChangeFPS: Maximum number of frames exceeded."}})
        EXPECT_EQ(script.errorOf(call).rfind(message, 0), 0u) << call << ": " << script.errorOf(call);
}

}  // namespace
}  // namespace vistrel::test
