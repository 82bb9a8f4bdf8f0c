#include "SwscaleReference.h"
#include "TestClips.h"
#include "engine/core/StillClip.h"
#include "engine/filters/ConvertToRGB32.h"
#include "engine/filters/FunctionTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

using namespace vistrel::engine;
using namespace vistrel::test;

namespace {

struct Bgr {
    int b, g, r;
};

// Rec.601 limited range to full range, in floating point.
Bgr rec601(double y, double u, double v) {
    auto c = [](double x) { return int(std::clamp(std::lround(x), 0L, 255L)); };
    const double kr = 0.299, kb = 0.114, kg = 1 - kr - kb, cs = 255.0 / 224.0;
    const double l = 255.0 / 219.0 * (y - 16), pb = (u - 128) * cs, pr = (v - 128) * cs;
    return {c(l + 2 * (1 - kb) * pb), c(l - 2 * (1 - kb) * kb / kg * pb - 2 * (1 - kr) * kr / kg * pr),
            c(l + 2 * (1 - kr) * pr)};
}

ClipPtr flatYv12(uint8_t y, uint8_t u, uint8_t v, int w = 16, int h = 8) {
    return std::make_shared<PatternClip>(videoInfo(w, h, PixelType::YV12, 1), [=](int64_t, int p) {
        return p == 0 ? y : p == 1 ? u : v;
    });
}

Bgr pixel(const Frame& f, int x, int y) {
    const uint8_t* p = f.plane(0).row(y) + 4 * x;
    return {p[0], p[1], p[2]};
}

TEST(ConvertToRGB32, Rgb32IsPassedOnUnchanged) {
    ClipPtr in = constantClip(videoInfo(8, 8, PixelType::RGB32, 1), 3);
    EXPECT_EQ(ConvertToRGB32::create(in), in);
}

TEST(ConvertToRGB32, Rgb24KeepsItsColoursAndBecomesOpaque) {
    MutableFramePtr f = Frame::create(3, 2, PixelType::RGB24);
    for (int y = 0; y < 2; ++y)
        for (int i = 0; i < 9; ++i) f->plane(0).row(y)[i] = uint8_t(10 * i + y);
    ClipPtr c = ConvertToRGB32::create(std::make_shared<StillClip>(videoInfo(3, 2, PixelType::RGB24, 1), f));
    FramePtr out = c->frame(0);
    ASSERT_EQ(c->info().pixelType, PixelType::RGB32);
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(byteAt(*out, 0, 4 * x, 1), 30 * x + 1);
        EXPECT_EQ(byteAt(*out, 0, 4 * x + 2, 1), 30 * x + 21);
        EXPECT_EQ(byteAt(*out, 0, 4 * x + 3, 1), 255);
    }
}

TEST(ConvertToRGB32, LimitedRangeBlackAndWhiteBecomeFullRange) {
    Bgr black = pixel(*ConvertToRGB32::create(flatYv12(16, 128, 128))->frame(0), 5, 5);
    Bgr white = pixel(*ConvertToRGB32::create(flatYv12(235, 128, 128))->frame(0), 5, 5);
    EXPECT_EQ(black.b + black.g + black.r, 0);
    EXPECT_EQ(white.b, 255);
    EXPECT_EQ(white.g, 255);
    EXPECT_EQ(white.r, 255);
}

TEST(ConvertToRGB32, FlatColoursFollowTheRec601Equations) {
    for (auto [y, u, v] : {std::tuple{81, 90, 240}, std::tuple{145, 54, 34}, std::tuple{41, 240, 110},
                           std::tuple{126, 128, 128}, std::tuple{200, 20, 230}}) {
        FramePtr out = ConvertToRGB32::create(flatYv12(uint8_t(y), uint8_t(u), uint8_t(v)))->frame(0);
        const Bgr p = pixel(*out, 3, 3), e = rec601(y, u, v);
        EXPECT_NEAR(p.b, e.b, 1) << y << "," << u << "," << v;
        EXPECT_NEAR(p.g, e.g, 1) << y << "," << u << "," << v;
        EXPECT_NEAR(p.r, e.r, 1) << y << "," << u << "," << v;
        EXPECT_EQ(byteAt(*out, 0, 3 * 4 + 3, 3), 255) << "opaque";
    }
}

TEST(ConvertToRGB32, CheckPointFromLimitedRangeBlue) {
    const Bgr p = pixel(*ConvertToRGB32::create(flatYv12(81, 240, 90))->frame(0), 7, 4);
    EXPECT_EQ(p.r, 15);
    EXPECT_EQ(p.g, 63);
    EXPECT_EQ(p.b, 255);
}

// Eight bars of flat colour: inside each bar, swscale with the settings that
// match the reference conversion and our own agree within one level.
TEST(ConvertToRGB32, FlatPatchesAgreeWithSwscaleWithinOneLevel) {
    const int w = 720, h = 480, barWidth = 90;
    const uint8_t bars[8][3] = {{180, 128, 128}, {168, 44, 136}, {145, 147, 44}, {133, 63, 52},
                                {63, 193, 204},  {51, 109, 212}, {28, 212, 120}, {16, 128, 128}};
    MutableFramePtr f = Frame::create(w, h, PixelType::YV12);
    for (int p = 0; p < 3; ++p)
        for (int y = 0; y < f->plane(p).rows; ++y)
            for (int x = 0; x < f->plane(p).rowBytes; ++x)
                f->plane(p).row(y)[x] = bars[(p == 0 ? x : 2 * x) / barWidth][p];
    FramePtr ours =
        ConvertToRGB32::create(std::make_shared<StillClip>(videoInfo(w, h, PixelType::YV12, 1), f))->frame(0);
    SwscaleSettings s;
    s.flags = SWS_BICUBIC | SWS_FULL_CHR_H_INT | SWS_ACCURATE_RND;
    s.srcChromaH = 0;
    s.srcChromaV = 128;
    s.rec601TvToFullRange = true;
    MutableFramePtr ref = swscale(*f, w, h, PixelType::RGB32, s);
    for (int bar = 0; bar < 8; ++bar)
        for (int y = 0; y < h; y += 5)
            for (int x = bar * barWidth + 6; x < (bar + 1) * barWidth - 6; ++x)
                for (int ch = 0; ch < 3; ++ch)
                    ASSERT_NEAR(byteAt(*ours, 0, 4 * x + ch, y), byteAt(*ref, 0, 4 * x + ch, y), 1)
                        << "bar " << bar << " at " << x << "," << y << " channel " << ch;
}

// With U rising by 12 per chroma sample, luma column x sits on U = 16 + 6x
// when chroma samples are co-sited with the even luma columns (centred
// samples would give 3 less).
TEST(ConvertToRGB32, Yv12ChromaSitsOnTheLeftLumaColumn) {
    const int w = 32, h = 8;
    MutableFramePtr f = Frame::create(w, h, PixelType::YV12);
    for (int y = 0; y < h; ++y) std::memset(f->plane(0).row(y), 126, w);
    for (int y = 0; y < h / 2; ++y)
        for (int x = 0; x < w / 2; ++x) {
            f->plane(1).row(y)[x] = uint8_t(16 + 12 * x);
            f->plane(2).row(y)[x] = 128;
        }
    FramePtr out =
        ConvertToRGB32::create(std::make_shared<StillClip>(videoInfo(w, h, PixelType::YV12, 1), f))->frame(0);
    for (int x = 6; x < w - 6; ++x)
        EXPECT_NEAR(pixel(*out, x, 4).b, rec601(126, 16 + 6 * x, 128).b, 1) << "column " << x;
}

TEST(ConvertToRGB32, Yuy2OddPixelsAverageTheirPairWithTheNext) {
    MutableFramePtr f = Frame::create(6, 1, PixelType::YUY2);
    const uint8_t packed[12] = {100, 60, 110, 140, 120, 90, 130, 150, 140, 200, 150, 100};
    std::memcpy(f->plane(0).row(0), packed, 12);
    FramePtr out =
        ConvertToRGB32::create(std::make_shared<StillClip>(videoInfo(6, 1, PixelType::YUY2, 1), f))->frame(0);
    const Bgr expected[6] = {rec601(100, 60, 140),  rec601(110, 75, 145),  rec601(120, 90, 150),
                             rec601(130, 145, 125), rec601(140, 200, 100), rec601(150, 200, 100)};
    for (int x = 0; x < 6; ++x) {
        const Bgr p = pixel(*out, x, 0);
        EXPECT_NEAR(p.b, expected[x].b, 1) << x;
        EXPECT_NEAR(p.g, expected[x].g, 1) << x;
        EXPECT_NEAR(p.r, expected[x].r, 1) << x;
    }
}

TEST(ConvertToRGB32, SoundAndTimingPassThrough) {
    auto in = std::make_shared<PatternClip>(
        withAudio(videoInfo(16, 8, PixelType::YV12, 12, {25, 1}), 44100, 1, SampleType::Int16),
        [](int64_t, int) { return uint8_t(128); }, [](int64_t s, int) { return double(s % 77); });
    ClipPtr c = ConvertToRGB32::create(in);
    EXPECT_EQ(c->info().frameCount, 12);
    EXPECT_EQ(c->info().fps, (Rational{25, 1}));
    EXPECT_EQ(readSamples<int16_t>(*c, 100, 1), (std::vector<int16_t>{23}));
}

TEST(ConvertToRGB32, OtherMatricesAreRefused) {
    Environment env;
    Args args = makeArgs({{flatYv12(16, 128, 128)}, {std::string("Rec709")}}, 5);
    EXPECT_EQ(scriptErrorOf([&] { createConvertToRGB32(args, env); }),
              "ConvertToRGB32: only matrix=\"Rec601\" is supported");
    Args rec601Args = makeArgs({{flatYv12(16, 128, 128)}, {std::string("rec601")}}, 5);
    EXPECT_NO_THROW(createConvertToRGB32(rec601Args, env));
}

}  // namespace
