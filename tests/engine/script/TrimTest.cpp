// Trim on a 50-frame clip whose frame n carries n (24 fps, 48 kHz).
#include "engine/script/ScriptHarness.h"

#include <gtest/gtest.h>

namespace vistrel::test {
namespace {

using engine::ClipPtr;

struct TrimCase {
    const char* call;
    int64_t frames;
    int64_t firstContent;  // the child frame shown at output frame 0
};

std::ostream& operator<<(std::ostream& out, const TrimCase& c) { return out << c.call; }

class TrimFrames : public ::testing::TestWithParam<TrimCase> {
protected:
    TrimFrames() { script.set("c", engine::Value(ClipPtr(IndexedClip::make(smallClipShape())))); }
    ScriptHarness script;
};

TEST_P(TrimFrames, CountAndContent) {
    const TrimCase& expected = GetParam();
    ClipPtr trimmed = script.runClip(std::string("c.") + expected.call);
    ASSERT_EQ(trimmed->info().frameCount, expected.frames);
    for (int64_t n = 0; n < expected.frames; ++n)
        ASSERT_EQ(frameIndexOf(*trimmed->frame(n)), expected.firstContent + n) << "output frame " << n;
    if (expected.frames > 0) {
        EXPECT_EQ(frameIndexOf(*trimmed->frame(expected.frames + 3)), expected.firstContent + expected.frames - 1)
            << "past the end gives the last frame";
    }
}

INSTANTIATE_TEST_SUITE_P(
    TableRows, TrimFrames,
    ::testing::Values(TrimCase{"Trim(-9,0)", 50, 0}, TrimCase{"Trim(10,0)", 40, 10}, TrimCase{"Trim(10,-5)", 5, 10},
                      TrimCase{"Trim(-9,-5)", 5, 0}, TrimCase{"Trim(-60,-5)", 5, 0}, TrimCase{"Trim(-9,5)", 6, 0},
                      TrimCase{"Trim(10,5)", 1, 10}, TrimCase{"Trim(60,70)", 1, 49}, TrimCase{"Trim(60,0)", 1, 49},
                      TrimCase{"Trim(45,100)", 5, 45}, TrimCase{"Trim(3,-100)", 47, 3}, TrimCase{"Trim(0,-1)", 1, 0},
                      TrimCase{"Trim(0,-0)", 50, 0}, TrimCase{"Trim(10,length=0)", 0, 10},
                      TrimCase{"Trim(10,length=5)", 5, 10}, TrimCase{"Trim(10,end=12)", 3, 10},
                      TrimCase{"Trim(10,end=10)", 1, 10}, TrimCase{"Trim(40,end=99)", 10, 40},
                      TrimCase{"Trim(48,length=9)", 2, 48}, TrimCase{"Trim(-2147483647-1,-2147483647-1)", 50, 0},
                      TrimCase{"Trim(2147483647,2147483647)", 1, 49}));

class TrimErrors : public ::testing::Test {
protected:
    TrimErrors() { script.set("c", engine::Value(ClipPtr(IndexedClip::make(smallClipShape())))); }
    ScriptHarness script;
};

TEST_F(TrimErrors, EndBeforeStart) {
    EXPECT_EQ(script.errorOf("c.Trim(10,end=5)"), "Trim: End must be >= Start\n(test.avs, line 1)");
}

TEST_F(TrimErrors, NegativeLength) {
    EXPECT_EQ(script.errorOf("c.Trim(10,length=-1)"), "Trim: Length must be >= 0\n(test.avs, line 1)");
}

TEST_F(TrimErrors, FirstFrameAloneUsesTheFiltersOwnText) {
    EXPECT_EQ(script.errorOf("c.Trim(10)"), "Script error: Invalid arguments to function \"Trim\"\n(test.avs, line 1)");
}

TEST_F(TrimErrors, LengthAndEndTogether) {
    EXPECT_EQ(script.errorOf("c.Trim(1,length=2,end=3)"),
              "Script error: Invalid arguments to function 'Trim'.\n(test.avs, line 1)");
}

TEST_F(TrimErrors, ClipWithoutVideo) {
    EXPECT_EQ(script.errorOf("TestClip(video=false).Trim(0,10)"),
              "Trim: Cannot trim if there is no video.\n(test.avs, line 1)");
}

TEST(TrimOfEmptyClip, GivesOneFrame) {
    ScriptHarness script;
    IndexedClipShape shape = smallClipShape();
    shape.frames = 0;
    script.set("c", engine::Value(ClipPtr(IndexedClip::make(shape))));
    EXPECT_EQ(script.runClip("c.Trim(0,0)")->info().frameCount, 1);
}

class TrimAudio : public ::testing::Test {
protected:
    TrimAudio() {
        IndexedClipShape shape = smallClipShape();
        shape.audioSamples = 48000;  // one second under 50 frames at 24 fps
        script.set("c", engine::Value(ClipPtr(IndexedClip::make(shape))));
    }
    int64_t samplesOf(const std::string& call) { return script.runClip("c." + call)->info().audioSamples; }
    ScriptHarness script;
};

TEST_F(TrimAudio, SampleCounts) {
    EXPECT_EQ(samplesOf("Trim(10,40)"), 62000);
    EXPECT_EQ(samplesOf("Trim(10,40,pad=false)"), 28000);
    EXPECT_EQ(samplesOf("Trim(10,0,pad=false)"), 28000);
    EXPECT_EQ(samplesOf("Trim(10,0)"), 80000);
    EXPECT_EQ(samplesOf("Trim(10,length=0)"), 0);
    EXPECT_EQ(samplesOf("Trim(30,40,pad=false)"), 0) << "nothing of the sound is left";
    EXPECT_EQ(samplesOf("Trim(5,9,false)"), 10000);
}

TEST_F(TrimAudio, SamplesAreShiftedToTheFirstFrame) {
    ClipPtr trimmed = script.runClip("c.Trim(10,40)");
    const std::vector<int> samples = readSamples(*trimmed, 0, 3);
    EXPECT_EQ(samples, (std::vector<int>{testSample(20000, 0), testSample(20001, 0), testSample(20002, 0)}));
}

TEST_F(TrimAudio, PaddedSoundPastTheSourceIsSilence) {
    ClipPtr trimmed = script.runClip("c.Trim(10,40)");
    const std::vector<int> samples = readSamples(*trimmed, 27998, 4);
    EXPECT_EQ(samples, (std::vector<int>{testSample(47998, 0), testSample(47999, 0), 0, 0}));
}

TEST(TrimWithoutSound, StaysSilent) {
    ScriptHarness script;
    ClipPtr trimmed = script.runClip("TestClip(audio_rate=0).Trim(5,9)");
    EXPECT_FALSE(trimmed->info().hasAudio());
    EXPECT_EQ(trimmed->info().audioSamples, 0);
}

}  // namespace
}  // namespace vistrel::test
