#include "TestClips.h"
#include "engine/Script.h"
#include "engine/filters/Fade.h"
#include "engine/filters/FunctionTable.h"

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
    EXPECT_EQ(scriptErrorOf([&] { createFadeOut(args, env); }),
              "Dissolve: Cannot dissolve if overlap is less than zero");
}

TEST(FadeScript, FadeInAndFadeOutTakeOneExtraFrame) {
    Environment env;
    Args args = makeArgs({{white()}, {int32_t(4)}}, 4);
    EXPECT_EQ(std::get<ClipPtr>(createFadeIn(args, env))->info().frameCount, 11);
    EXPECT_EQ(std::get<ClipPtr>(createFadeOut(args, env))->info().frameCount, 11);
}

// Every fade a script can call, on a 10-frame white clip with 44.1 kHz sound
// at 24 fps, fading over 4 frames: the frames and samples of its blank clip
// and dissolves, and its first and last picture.
struct FadeCall {
    const char* name;
    int64_t frames;
    int64_t samples;
    int first;
    int last;
};

class FadeFunctions : public ::testing::TestWithParam<FadeCall> {};

TEST_P(FadeFunctions, AreCalledByNameWithTheirFramesAndSamples) {
    Environment env;
    ClipPtr faded = evaluateScriptClip(
        std::string("blankclip(length=10, width=8, height=4, color=$ffffff).") + GetParam().name + "(4)", "fades.avs",
        env);
    EXPECT_EQ(faded->info().frameCount, GetParam().frames);
    EXPECT_EQ(faded->info().audioSamples, GetParam().samples);
    const std::vector<int> v = values(*faded);
    EXPECT_EQ(v.front(), GetParam().first);
    EXPECT_EQ(v.back(), GetParam().last);
}

INSTANTIATE_TEST_SUITE_P(
    Names, FadeFunctions,
    ::testing::Values(FadeCall{"FadeOut", 11, 20212, 255, 0}, FadeCall{"FadeOut0", 10, 18375, 255, 51},
                      FadeCall{"FadeOut2", 12, 22050, 255, 0}, FadeCall{"FadeIn", 11, 20212, 0, 255},
                      FadeCall{"FadeIn0", 10, 18375, 51, 255}, FadeCall{"FadeIn2", 12, 22050, 0, 255},
                      FadeCall{"FadeIO", 12, 22049, 0, 0}, FadeCall{"FadeIO0", 10, 18375, 51, 51},
                      FadeCall{"FadeIO2", 14, 25725, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// Absurd lengths and rates: a fade's blank clip longer than a clip may be
// (2147483647 frames), an fps that times no overlap of clips without video.
class AbsurdValues : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(AbsurdValues, AreClearErrors) {
    Environment env;
    const std::string error = scriptErrorOf([&] { evaluateScriptClip(GetParam().first, "absurd.avs", env); });
    EXPECT_EQ(error.substr(0, error.find('\n')), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, AbsurdValues,
    ::testing::Values(std::pair{"blankclip().FadeIn(2147483647)",
                                "FadeIn: a fade of 2147483647 frames is too long (at most 2147483646)"},
                      std::pair{"blankclip().FadeIO2(2147483646)",
                                "FadeIO2: a fade of 2147483646 frames is too long (at most 2147483645)"},
                      std::pair{"blankclip().FadeOut0(2147483647)", "(no error)"},
                      std::pair{"dissolve(blankclip(width=0), blankclip(width=0), 3, fps=0)",
                                "Dissolve: fps must be a finite number greater than 0"},
                      std::pair{"dissolve(blankclip(width=0), blankclip(width=0), 3, fps=-24)",
                                "Dissolve: fps must be a finite number greater than 0"},
                      std::pair{"dissolve(blankclip(width=0), blankclip(width=0), 3, fps=0.000000000000001)",
                                "Dissolve: an overlap of 3 frames at 1e-15 fps is too long"}));

}  // namespace
