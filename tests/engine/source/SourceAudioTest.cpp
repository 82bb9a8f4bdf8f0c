// Sound by sample index: counts, formats and the values the generator wrote.
#include "SourceFixture.h"

#include <atomic>
#include <cstring>
#include <thread>
#include <tuple>
#include <vector>

namespace vistrel::test {
namespace {

using engine::SampleType;

std::vector<int16_t> readInt16(engine::Clip& clip, int64_t start, int64_t count) {
    std::vector<int16_t> samples(static_cast<size_t>(count * clip.info().channels));
    clip.audio(samples.data(), start, count);
    return samples;
}

std::vector<float> readFloat(engine::Clip& clip, int64_t start, int64_t count) {
    std::vector<float> samples(static_cast<size_t>(count * clip.info().channels));
    clip.audio(samples.data(), start, count);
    return samples;
}

TEST_F(SourceTest, PcmInAviHasTheRateChannelsAndCountOfTheFile) {
    for (const MediaRecipe& recipe : {recipes::mjpegAvi(), recipes::ntscStereoAvi()}) {
        VISTREL_TEST_MEDIA_OR_SKIP(file, recipe);
        const engine::VideoInfo info = open(file)->info();
        EXPECT_EQ(info.audioRate, recipe.audioRate) << recipe.name;
        EXPECT_EQ(info.channels, 2);
        EXPECT_EQ(info.sampleType, SampleType::Int16);
        EXPECT_EQ(info.audioSamples, recipe.audioSamples()) << recipe.name;
    }
}

TEST_F(SourceTest, NtscClipAt48kHzHasTheExactRationalAndSampleCount) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::ntscStereoAvi());
    const engine::VideoInfo info = open(file)->info();
    EXPECT_EQ(info.fps, (engine::Rational{30000, 1001}));
    EXPECT_EQ(info.frameCount, 150);
    EXPECT_EQ(info.audioSamples, 240240);  // 150 frames of 1601.6 samples
}

TEST_F(SourceTest, SixteenBitSamplesAreTheOnesWrittenInAnyOrder) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::mpeg4BFramesAvi());
    auto clip = open(file);
    const int64_t total = clip->info().audioSamples;
    for (int64_t start : {total - 1000, int64_t(0), int64_t(123457), int64_t(44100), int64_t(7)}) {
        const auto samples = readInt16(*clip, start, 1000);
        for (int64_t i = 0; i < 1000; ++i)
            for (int c = 0; c < 2; ++c)
                ASSERT_EQ(samples[i * 2 + c], testSample(start + i, c)) << "sample " << start + i << " channel " << c;
    }
}

TEST_F(SourceTest, FloatSamplesComeOutAsFloats) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::floatAudioMkv());
    auto clip = open(file);
    ASSERT_EQ(clip->info().sampleType, SampleType::Float32);
    EXPECT_EQ(clip->info().audioSamples, recipes::floatAudioMkv().audioSamples());
    const auto samples = readFloat(*clip, 4800, 100);
    for (int64_t i = 0; i < 100; ++i)
        ASSERT_EQ(samples[i * 2 + 1], testSample(4800 + i, 1) / 32768.0f) << "sample " << 4800 + i;
}

TEST_F(SourceTest, LosslessPlanarSoundComesOutInterleavedAndExact) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::flacAudioMkv());
    auto clip = open(file);
    ASSERT_EQ(clip->info().sampleType, SampleType::Int16);
    EXPECT_EQ(clip->info().audioSamples, recipes::flacAudioMkv().audioSamples());
    const auto samples = readInt16(*clip, 30000, 500);
    for (int64_t i = 0; i < 500; ++i)
        for (int c = 0; c < 2; ++c)
            ASSERT_EQ(samples[i * 2 + c], testSample(30000 + i, c)) << "sample " << 30000 + i << " channel " << c;
}

TEST_F(SourceTest, EightBitSoundComesOutAsSixteenBit) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::u8AudioAvi());
    auto clip = open(file);
    ASSERT_EQ(clip->info().sampleType, SampleType::Int16);
    EXPECT_EQ(clip->info().audioRate, 22050);
    const auto samples = readInt16(*clip, 1000, 100);
    for (int64_t i = 0; i < 100; ++i)  // the 8-bit file keeps the high byte of each sample
        ASSERT_EQ(samples[i * 2], (testSample(1000 + i, 0) >> 8) * 256) << "sample " << 1000 + i;
}

TEST_F(SourceTest, ReadsPartlyPastTheEndGiveTheLastSamplesThenSilence) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::ffv1Avi());
    auto clip = open(file);
    const int64_t total = clip->info().audioSamples;
    const auto samples = readInt16(*clip, total - 2, 4);
    EXPECT_EQ(samples[0], testSample(total - 2, 0));
    EXPECT_EQ(samples[3], testSample(total - 1, 1));
    EXPECT_EQ(samples[4], 0);
    EXPECT_EQ(samples[7], 0);
}

TEST_F(SourceTest, AudioFalseLeavesTheClipSilent) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::ffv1Avi());
    engine::SourceOptions options;
    options.audio = false;
    const engine::VideoInfo info = open(file, options)->info();
    EXPECT_FALSE(info.hasAudio());
    EXPECT_EQ(info.audioSamples, 0);
    EXPECT_EQ(info.frameCount, 200);
}

TEST_F(SourceTest, AFileWithoutSoundIsAClipWithoutSound) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::silentAvi());
    EXPECT_FALSE(open(file)->info().hasAudio());
}

// Opened for its sound only, a source makes no picture decoder, yet tells the
// same rate, count and sound, and refuses frames with a message.
TEST_F(SourceTest, OpenedForItsSoundOnlyAClipDescribesItselfAlikeAndRefusesFrames) {
    for (const MediaRecipe& recipe : {recipes::mpeg4BFramesAvi(), recipes::ntscH264Mkv(), recipes::ntscStereoAvi()}) {
        VISTREL_TEST_MEDIA_OR_SKIP(file, recipe);
        const auto whole = open(file);
        engine::SourceOptions options;
        options.video = false;
        const auto sound = open(file, options);
        EXPECT_FALSE(sound->decodesPictures());
        const engine::VideoInfo &a = whole->info(), &b = sound->info();
        EXPECT_EQ(std::tuple(b.fps, b.frameCount, b.width, b.audioSamples),
                  std::tuple(a.fps, a.frameCount, a.width, a.audioSamples))
            << recipe.name;
        try {
            sound->frame(0);
            ADD_FAILURE() << recipe.name << ": a frame was read";
        } catch (const engine::ScriptError& e) {
            EXPECT_NE(std::string(e.what()).find("opened for its sound only"), std::string::npos) << e.what();
        }
        if (!a.hasAudio()) continue;
        EXPECT_EQ(readInt16(*sound, 5000, 300), readInt16(*whole, 5000, 300)) << recipe.name;
    }
}

TEST_F(SourceTest, SoundAndPicturesCanBeReadFromTwoThreadsAtOnce) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::mpeg4BFramesAvi());
    auto clip = open(file);
    std::atomic<int> wrongFrames = 0;
    std::thread pictures([&] {
        for (int64_t n = 0; n < 60; ++n)
            if (readFrameIndex(*clip->frame(n)) != n) ++wrongFrames;
    });
    int wrongSamples = 0;
    for (int64_t start = 0; start < 100000; start += 5000) {
        const auto samples = readInt16(*clip, start, 64);
        if (samples[2] != testSample(start + 1, 0)) ++wrongSamples;
    }
    pictures.join();
    EXPECT_EQ(wrongFrames, 0);
    EXPECT_EQ(wrongSamples, 0);
}

}  // namespace
}  // namespace vistrel::test
