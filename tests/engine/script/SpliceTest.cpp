// Joining clips with + (unaligned) and ++ (aligned).
#include "engine/script/ScriptHarness.h"

#include <gtest/gtest.h>

namespace vistrel::test {
namespace {

using engine::ClipPtr;

class Splicing : public ::testing::Test {
protected:
    ScriptHarness script;
};

TEST_F(Splicing, FramesFollowEachOther) {
    ClipPtr joined = script.runClip("TestClip(frames=3) + TestClip(frames=4)");
    ASSERT_EQ(joined->info().frameCount, 7);
    const int64_t expected[] = {0, 1, 2, 0, 1, 2, 3};
    for (int n = 0; n < 7; ++n) EXPECT_EQ(frameIndexOf(*joined->frame(n)), expected[n]) << n;
}

TEST_F(Splicing, UnalignedSoundFollowsTheFirstClipsSound) {
    // 3 frames at 24 fps hold 6000 samples; the first clip has only 100.
    ClipPtr joined = script.runClip("TestClip(frames=3, audio_samples=100) + TestClip(frames=4)");
    EXPECT_EQ(joined->info().audioSamples, 100 + 8000);
    EXPECT_EQ(readSamples(*joined, 99, 2), (std::vector<int>{testSample(99, 0), testSample(0, 0)}));
}

TEST_F(Splicing, AlignedSoundIsPaddedToTheFirstClipsVideo) {
    ClipPtr joined = script.runClip("TestClip(frames=3, audio_samples=100) ++ TestClip(frames=4)");
    EXPECT_EQ(joined->info().audioSamples, 6000 + 8000);
    EXPECT_EQ(readSamples(*joined, 99, 2), (std::vector<int>{testSample(99, 0), 0}));
    EXPECT_EQ(readSamples(*joined, 6000, 1), (std::vector<int>{testSample(0, 0)}));
}

TEST_F(Splicing, AlignedSoundIsCutToTheFirstClipsVideo) {
    ClipPtr joined = script.runClip("TestClip(frames=3, audio_samples=9000) ++ TestClip(frames=4)");
    EXPECT_EQ(joined->info().audioSamples, 6000 + 8000);
    EXPECT_EQ(readSamples(*joined, 5999, 2), (std::vector<int>{testSample(5999, 0), testSample(0, 0)}));
}

TEST_F(Splicing, DifferentSampleTypesBothBecomeFloat) {
    ClipPtr joined = script.runClip("TestClip(frames=1) + TestClip(frames=1, float_audio=true)");
    EXPECT_EQ(joined->info().sampleType, engine::SampleType::Float32);
    EXPECT_EQ(readSamples(*joined, 1999, 2), (std::vector<int>{testSample(1999, 0), testSample(0, 0)}));
}

TEST_F(Splicing, MismatchErrors) {
    const auto error = [&](const char* text) { return script.errorOf(text); };
    EXPECT_EQ(error("TestClip() + TestClip(video=false)"),
              "Splice: one clip has video and the other doesn't (not allowed)\n(test.avs, line 1)");
    EXPECT_EQ(error("TestClip() + TestClip(audio_rate=0)"),
              "Splice: one clip has audio and the other doesn't (not allowed)\n(test.avs, line 1)");
    EXPECT_EQ(error("TestClip() + TestClip(fps=25)"), "Splice: Video framerate doesn't match\n(test.avs, line 1)");
    EXPECT_EQ(error("TestClip() ++ TestClip(channels=2)"),
              "Splice: The number of audio channels doesn't match\n(test.avs, line 1)");
    EXPECT_EQ(error("TestClip() + TestClip(audio_rate=44100)"),
              "Splice: The audio of the two clips have different samplerates! Use SSRC()/ResampleAudio()\n"
              "(test.avs, line 1)");
}

TEST(SpliceFormats, SizesAndPixelTypesMustMatch) {
    ScriptHarness script;
    IndexedClipShape wide = smallClipShape();
    wide.width = 16;
    IndexedClipShape yuv = smallClipShape();
    yuv.pixelType = engine::PixelType::YV12;
    script.set("a", engine::Value(ClipPtr(IndexedClip::make(smallClipShape()))));
    script.set("wide", engine::Value(ClipPtr(IndexedClip::make(wide))));
    script.set("yuv", engine::Value(ClipPtr(IndexedClip::make(yuv))));
    EXPECT_EQ(script.errorOf("a + wide"), "Splice: Frame sizes don't match\n(test.avs, line 1)");
    EXPECT_EQ(script.errorOf("a + yuv"), "Splice: Video formats don't match\n(test.avs, line 1)");
}

}  // namespace
}  // namespace vistrel::test
