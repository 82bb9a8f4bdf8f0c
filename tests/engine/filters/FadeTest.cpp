#include "engine/filters/Fade.h"
#include "engine/filters/Factories.h"

#include "TestClips.h"

#include <gtest/gtest.h>

using namespace vistrel::engine;
using namespace vistrel::test;

namespace {

// A 10-frame white clip: every byte 255.
ClipPtr white() { return constantClip(videoInfo(8, 4, PixelType::RGB32, 10), 255); }

std::vector<int> values(Clip& c) {
    std::vector<int> out;
    for (int64_t n = 0; n < c.info().frameCount; ++n) out.push_back(c.frame(n)->plane(0).row(0)[0]);
    return out;
}

std::vector<int> repeat(int value, int times) { return std::vector<int>(size_t(times), value); }

std::vector<int> join(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(FadeOut, EndsOnBlackOneFrameLater) {
    EXPECT_EQ(values(*fadeOut(white(), 4, 1)), join(repeat(255, 6), {204, 153, 102, 51, 0}));
}

TEST(FadeOut, WithoutTheExtraFrameNeverReachesBlack) {
    EXPECT_EQ(values(*fadeOut(white(), 4, 0)), join(repeat(255, 6), {204, 153, 102, 51}));
}

TEST(FadeOut, WithTwoExtraFramesHoldsBlack) {
    EXPECT_EQ(values(*fadeOut(white(), 4, 2)), join(repeat(255, 6), {204, 153, 102, 51, 0, 0}));
}

TEST(FadeOut, ZeroFramesAddsOneBlackFrame) { EXPECT_EQ(values(*fadeOut(white(), 0, 1)), join(repeat(255, 10), {0})); }

TEST(FadeOut, LongerThanTheClipStartsPartWayAndEndsInBlack) {
    const std::vector<int> v = values(*fadeOut(white(), 15, 1));
    ASSERT_EQ(v.size(), 16u);
    for (int i = 0; i < 10; ++i) {
        const float w = float((i + 6) / 16.0);
        const int wi = int(w * 32767.0f + 0.5f);
        EXPECT_EQ(v[size_t(i)], (255 * (32767 - wi) + 16384) >> 15) << i;
    }
    EXPECT_EQ(std::vector<int>(v.begin() + 10, v.end()), repeat(0, 6));
}

TEST(FadeIn, StartsOnBlackAndShowsTheClipOneFrameLate) {
    EXPECT_EQ(values(*fadeIn(white(), 4, 1)), join({0, 51, 102, 153, 204}, repeat(255, 6)));
}

TEST(FadeIn, WithoutTheExtraFrameStartsPartWay) {
    EXPECT_EQ(values(*fadeIn(white(), 4, 0)), join({51, 102, 153, 204}, repeat(255, 6)));
}

TEST(FadeIn, LongerThanTheClipNeverReachesFullPicture) {
    const std::vector<int> v = values(*fadeIn(white(), 15, 1));
    ASSERT_EQ(v.size(), 11u);
    EXPECT_EQ(v[0], 0);
    EXPECT_EQ(v[10], 159);
}

TEST(FadeInOut, FadesBothEnds) {
    EXPECT_EQ(values(*fadeInOut(white(), 4, 1)),
              join(join({0, 51, 102, 153, 204}, {255, 255}), {204, 153, 102, 51, 0}));
}

TEST(Fade, Rgb32BlackFadesTheAlphaToZero) {
    FramePtr last = fadeOut(white(), 4, 1)->frame(10);
    EXPECT_EQ(byteAt(*last, 0, 3, 0), 0);
}

TEST(Fade, Yv12FadesToLimitedRangeBlack) {
    ClipPtr grey = std::make_shared<PatternClip>(videoInfo(16, 8, PixelType::YV12, 10),
                                                 [](int64_t, int p) { return uint8_t(p == 0 ? 200 : 90); });
    FramePtr last = fadeOut(grey, 4, 1)->frame(10);
    EXPECT_EQ(byteAt(*last, 0, 0, 0), 16);
    EXPECT_EQ(byteAt(*last, 1, 0, 0), 128);
    EXPECT_EQ(byteAt(*last, 2, 7, 3), 128);
}

TEST(Fade, ColourIsTheFadesTarget) {
    FramePtr last = fadeOut(white(), 4, 1, 0x00FF0000)->frame(10);
    EXPECT_EQ(byteAt(*last, 0, 0, 0), 0);
    EXPECT_EQ(byteAt(*last, 0, 2, 0), 255);
}

TEST(FadeSound, FadeOutLengthIsTheClipBeforeTheFadeAndTheBlankClip) {
    ClipPtr c = constantClip(withAudio(videoInfo(8, 4, PixelType::RGB32, 10), 44100, 1, SampleType::Int16), 255);
    EXPECT_EQ(fadeOut(c, 4, 1)->info().audioSamples, 20212);
    EXPECT_EQ(fadeInOut(c, 4, 1)->info().audioSamples, 22049);
}

TEST(FadeSound, BlankClipTakesTheClipsSoundFormat) {
    ClipPtr c = constantClip(withAudio(videoInfo(8, 4, PixelType::RGB32, 10), 48000, 2, SampleType::Float32), 255);
    ClipPtr faded = fadeIn(c, 4, 1);
    EXPECT_EQ(faded->info().channels, 2);
    EXPECT_EQ(faded->info().sampleType, SampleType::Float32);
}

TEST(FadeScript, NegativeLengthIsDissolvesError) {
    Environment env;
    Args args = makeArgs({{white()}, {int32_t(-3)}}, 4);
    EXPECT_EQ(scriptErrorOf([&] { createFadeOut(args, env); }), "Dissolve: Cannot dissolve if overlap is less than zero");
}

TEST(FadeScript, FadeInAndFadeOutTakeOneExtraFrame) {
    Environment env;
    Args args = makeArgs({{white()}, {int32_t(4)}}, 4);
    EXPECT_EQ(std::get<ClipPtr>(createFadeIn(args, env))->info().frameCount, 11);
    EXPECT_EQ(std::get<ClipPtr>(createFadeOut(args, env))->info().frameCount, 11);
}

}  // namespace
