// AudioDub, KillAudio and DelayAudio.
#include "engine/script/ScriptHarness.h"

#include <gtest/gtest.h>

namespace vistrel::test {
namespace {

using engine::ClipPtr;

class Dubbing : public ::testing::Test {
protected:
    ScriptHarness script;
};

TEST_F(Dubbing, CountsAreNotAdjusted) {
    // One second of sound under 100 frames at 24 fps, ten seconds under 10 frames.
    ClipPtr longVideo =
        script.runClip("AudioDub(TestClip(frames=100, audio_rate=0), TestClip(frames=24, video=false))");
    EXPECT_EQ(longVideo->info().frameCount, 100);
    EXPECT_EQ(longVideo->info().audioSamples, 48000);
    ClipPtr longSound =
        script.runClip("AudioDub(TestClip(frames=10, audio_rate=0), TestClip(frames=240, video=false))");
    EXPECT_EQ(longSound->info().frameCount, 10);
    EXPECT_EQ(longSound->info().audioSamples, 480000);
}

TEST_F(Dubbing, SoundBeyondTheAudioClipIsSilence) {
    ClipPtr dubbed = script.runClip("AudioDub(TestClip(frames=100, audio_rate=0), TestClip(frames=24, video=false))");
    EXPECT_EQ(readSamples(*dubbed, 47999, 2), (std::vector<int>{testSample(47999, 0), 0}));
}

TEST_F(Dubbing, VideoFromTheFirstSoundFromTheSecond) {
    ClipPtr dubbed = script.runClip(
        "v = TestClip(frames=30, audio_rate=44100, channels=2)\n"
        "a = TestClip(frames=10, channels=1, float_audio=true)\n"
        "AudioDub(v, a)");
    EXPECT_EQ(dubbed->info().frameCount, 30);
    EXPECT_EQ(dubbed->info().audioRate, 48000);
    EXPECT_EQ(dubbed->info().channels, 1);
    EXPECT_EQ(dubbed->info().sampleType, engine::SampleType::Float32);
    EXPECT_EQ(dubbed->info().audioSamples, 20000);
    EXPECT_EQ(frameIndexOf(*dubbed->frame(25)), 25);
    EXPECT_EQ(readSamples(*dubbed, 7, 1), (std::vector<int>{testSample(7, 0)}));
}

TEST_F(Dubbing, SwappedWhenTheFirstHasOnlySound) {
    ClipPtr dubbed = script.runClip("AudioDub(TestClip(frames=24, video=false), TestClip(frames=12, audio_rate=0))");
    EXPECT_EQ(dubbed->info().frameCount, 12);
    EXPECT_EQ(dubbed->info().audioSamples, 48000);
}

TEST_F(Dubbing, TwoVideoOnlyClipsAreAnError) {
    EXPECT_EQ(script.errorOf("AudioDub(TestClip(audio_rate=0), TestClip(audio_rate=0))"),
              "AudioDub: need an audio and a video track\n(test.avs, line 1)");
}

TEST_F(Dubbing, KillAudioRemovesTheSoundAndKeepsTheFrames) {
    ClipPtr silent = script.runClip("TestClip(frames=20, channels=2).KillAudio()");
    EXPECT_FALSE(silent->info().hasAudio());
    EXPECT_EQ(silent->info().audioRate, 0);
    EXPECT_EQ(silent->info().channels, 0);
    EXPECT_EQ(silent->info().audioSamples, 0);
    EXPECT_EQ(silent->info().frameCount, 20);
    EXPECT_EQ(frameIndexOf(*silent->frame(13)), 13);
}

TEST_F(Dubbing, BareKillAudioActsOnLast) {
    ClipPtr silent = script.runClip("TestClip(frames=20)\nkillaudio");
    EXPECT_FALSE(silent->info().hasAudio());
    EXPECT_EQ(silent->info().frameCount, 20);
}

TEST_F(Dubbing, FrameCountAndFrameRate) {
    EXPECT_EQ(asInt(script.run("TestClip(frames=33).FrameCount()")), 33);
    EXPECT_DOUBLE_EQ(asFloat(script.run("TestClip(fps=25).FrameRate()")), 25.0);
    EXPECT_DOUBLE_EQ(asFloat(script.run("TestClip(video=false).FrameRate()")), 0.0);
}

struct DelayCase {
    const char* script;
    int64_t samples;
    int64_t at;      // a sample of the result
    int64_t source;  // the child's sample heard there; -1: silence
};

void PrintTo(const DelayCase& c, std::ostream* out) { *out << c.script; }

class Delaying : public ::testing::TestWithParam<DelayCase> {};

TEST_P(Delaying, TheSoundMovesAndItsLengthWithIt) {
    ScriptHarness script;
    ClipPtr delayed = script.runClip(GetParam().script);
    EXPECT_EQ(delayed->info().audioSamples, GetParam().samples);
    const int expected = GetParam().source < 0 ? 0 : testSample(GetParam().source, 0);
    EXPECT_EQ(readSamples(*delayed, GetParam().at, 1), std::vector<int>{expected});
}

// 50 frames at 24 fps carry 100000 samples at 48 kHz. A delay in samples is
// seconds * rate + 0.5, truncated toward zero as AviSynth counts it: -0.5 s is
// 23999 samples early, not 24000.
INSTANTIATE_TEST_SUITE_P(
    TableRows, Delaying,
    ::testing::Values(DelayCase{"TestClip().DelayAudio(0.5)", 124000, 23999, -1},
                      DelayCase{"TestClip().DelayAudio(0.5)", 124000, 24000, 0},
                      DelayCase{"TestClip().DelayAudio(-0.5)", 76001, 0, 23999},
                      DelayCase{"TestClip().DelayAudio(-3)", 0, 0, -1},
                      DelayCase{"AudioDub(TestClip(frames=100, audio_rate=0), TestClip(video=false).DelayAudio(1))"
                                ".Trim(24,0)",
                                152000, 0, 0}));

}  // namespace
}  // namespace vistrel::test
