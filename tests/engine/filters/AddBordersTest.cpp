#include "TestClips.h"
#include "engine/filters/AddBorders.h"
#include "engine/filters/FunctionTable.h"

#include <gtest/gtest.h>

using namespace vistrel::engine;
using namespace vistrel::test;

namespace {

ClipPtr grey(PixelType type, int w = 8, int h = 6) { return constantClip(videoInfo(w, h, type, 3), 99); }

TEST(AddBorders, SizeGrowsByTheBorders) {
    ClipPtr c = AddBorders::create(grey(PixelType::RGB24, 460, 80), {122, 20, 122, 20}, 0);
    EXPECT_EQ(c->info().width, 704);
    EXPECT_EQ(c->info().height, 120);
    EXPECT_EQ(c->info().pixelType, PixelType::RGB24);
}

TEST(AddBorders, NegativeSizesCountAsZero) {
    ClipPtr c = AddBorders::create(grey(PixelType::RGB32), {-4, 2, -1, 0}, 0);
    EXPECT_EQ(c->info().width, 8);
    EXPECT_EQ(c->info().height, 8);
}

TEST(AddBorders, NoBorderGivesTheClipItself) {
    ClipPtr in = grey(PixelType::RGB32);
    EXPECT_EQ(AddBorders::create(in, {0, -3, 0, 0}, 0), in);
}

TEST(AddBorders, PictureSitsInsideBlackRgb32BordersWithAlphaZero) {
    ClipPtr c = AddBorders::create(grey(PixelType::RGB32), {3, 1, 2, 4}, 0);
    FramePtr f = c->frame(0);
    for (int ch = 0; ch < 4; ++ch) {
        EXPECT_EQ(byteAt(*f, 0, 2 * 4 + ch, 1), 0) << "left border";
        EXPECT_EQ(byteAt(*f, 0, 3 * 4 + ch, 1), 99) << "picture's first pixel";
        EXPECT_EQ(byteAt(*f, 0, 10 * 4 + ch, 6), 99) << "picture's last pixel";
        EXPECT_EQ(byteAt(*f, 0, 11 * 4 + ch, 6), 0) << "right border";
        EXPECT_EQ(byteAt(*f, 0, 5 * 4 + ch, 0), 0) << "top border";
        EXPECT_EQ(byteAt(*f, 0, 5 * 4 + ch, 7), 0) << "bottom border";
    }
}

TEST(AddBorders, ColourIsStoredAsGivenForRgb) {
    ClipPtr c = AddBorders::create(grey(PixelType::RGB24), {1, 0, 0, 0}, 0x112233);
    FramePtr f = c->frame(0);
    EXPECT_EQ(byteAt(*f, 0, 0, 0), 0x33);
    EXPECT_EQ(byteAt(*f, 0, 1, 0), 0x22);
    EXPECT_EQ(byteAt(*f, 0, 2, 0), 0x11);
    EXPECT_EQ(byteAt(*f, 0, 3, 0), 99);
}

TEST(AddBorders, Yv12BordersAreLimitedRangeBlackInEveryPlane) {
    ClipPtr c = AddBorders::create(grey(PixelType::YV12), {2, 2, 4, 2}, 0);
    FramePtr f = c->frame(0);
    EXPECT_EQ(byteAt(*f, 0, 0, 0), 16);
    EXPECT_EQ(byteAt(*f, 0, 2, 2), 99);
    EXPECT_EQ(byteAt(*f, 1, 0, 0), 128);
    EXPECT_EQ(byteAt(*f, 1, 1, 1), 99);
    EXPECT_EQ(byteAt(*f, 2, 4, 3), 99);
    EXPECT_EQ(byteAt(*f, 2, 5, 3), 128);
}

TEST(AddBorders, Yuy2BordersArePairsOfBlack) {
    ClipPtr c = AddBorders::create(grey(PixelType::YUY2), {2, 1, 0, 0}, 0);
    FramePtr f = c->frame(0);
    EXPECT_EQ(byteAt(*f, 0, 0, 1), 16);
    EXPECT_EQ(byteAt(*f, 0, 1, 1), 128);
    EXPECT_EQ(byteAt(*f, 0, 4, 1), 99);
    EXPECT_EQ(byteAt(*f, 0, 4, 0), 16);
}

struct OddCase {
    PixelType type;
    Borders borders;
    const char* message;
};

class OddYuvBorders : public ::testing::TestWithParam<OddCase> {};

TEST_P(OddYuvBorders, AreRefusedNamingTheSide) {
    const OddCase& c = GetParam();
    EXPECT_EQ(scriptErrorOf([&] { AddBorders::create(grey(c.type), c.borders, 0); }), c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Sides, OddYuvBorders,
    ::testing::Values(
        OddCase{PixelType::YV12, {1, 0, 0, 0}, "AddBorders: YUV image can only add by Mod 2 (left side)."},
        OddCase{PixelType::YV12, {0, 0, 3, 0}, "AddBorders: YUV image can only add by Mod 2 (right side)."},
        OddCase{PixelType::YV12, {0, 1, 0, 0}, "AddBorders: YUV image can only add by Mod 2 (top)."},
        OddCase{PixelType::YV12, {2, 2, 2, 5}, "AddBorders: YUV image can only add by Mod 2 (bottom)."},
        OddCase{PixelType::YUY2, {1, 0, 0, 0}, "AddBorders: YUV image can only add by Mod 2 (left side)."},
        OddCase{PixelType::YUY2, {0, 0, 1, 0}, "AddBorders: YUV image can only add by Mod 2 (right side)."}));

TEST(AddBorders, OddBordersAreFineWhereChromaIsNotSubsampled) {
    EXPECT_EQ(AddBorders::create(grey(PixelType::YUY2), {0, 1, 0, 3}, 0)->info().height, 10);
    EXPECT_EQ(AddBorders::create(grey(PixelType::RGB32), {1, 1, 1, 1}, 0)->info().width, 10);
}

TEST(AddBorders, HugeBordersAreRefused) {
    EXPECT_EQ(scriptErrorOf([] {
                  AddBorders::create(grey(PixelType::RGB32), {2000000000, 0, 2000000000, 0}, 0);
              }),
              "AddBorders: the bordered frame would be too large");
}

TEST(AddBorders, SoundPassesThrough) {
    auto in = constantClip(withAudio(videoInfo(8, 6, PixelType::RGB32, 10), 48000, 1, SampleType::Int16), 0,
                           [](int64_t s, int) { return double(s); });
    ClipPtr c = AddBorders::create(in, {2, 2, 2, 2}, 0);
    EXPECT_EQ(c->info().audioSamples, in->info().audioSamples);
    EXPECT_EQ(readSamples<int16_t>(*c, 42, 1), (std::vector<int16_t>{42}));
}

TEST(AddBorders, ScriptCallTakesColourLast) {
    Environment env;
    Args args = makeArgs(
        {{grey(PixelType::RGB32)}, {int32_t(1)}, {int32_t(0)}, {int32_t(0)}, {int32_t(0)}, {int32_t(0x00FF00)}}, 6);
    FramePtr f = std::get<ClipPtr>(createAddBorders(args, env))->frame(0);
    EXPECT_EQ(byteAt(*f, 0, 1, 0), 255);
}

}  // namespace
