#include "SwscaleReference.h"
#include "TestClips.h"
#include "engine/clips/BilinearResize.h"
#include "engine/core/StillClip.h"
#include "engine/filters/FunctionTable.h"
#include "engine/resize/ResamplingProgram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace vistrel::engine;
using namespace vistrel::test;

namespace {

std::vector<int> coefficientsOf(const ResamplingProgram& p, int i) {
    return std::vector<int>(p.coefficients(i), p.coefficients(i) + p.taps());
}

TEST(ResamplingProgram, HalvingAveragesFourPixelsAndReplicatesTheEdges) {
    ResamplingProgram p(triangleKernel(), 4, 2, 0.0, 4.0);
    ASSERT_EQ(p.taps(), 3);
    EXPECT_EQ(p.firstPixel(0), 0);
    EXPECT_EQ(coefficientsOf(p, 0), (std::vector<int>{8192, 6144, 2048}));
    EXPECT_EQ(p.firstPixel(1), 1);
    EXPECT_EQ(coefficientsOf(p, 1), (std::vector<int>{2048, 6144, 8192}));
}

TEST(ResamplingProgram, DoublingInterpolatesBetweenNeighbours) {
    ResamplingProgram p(triangleKernel(), 2, 4, 0.0, 2.0);
    ASSERT_EQ(p.taps(), 2);
    EXPECT_EQ(coefficientsOf(p, 0), (std::vector<int>{16384, 0})) << "the edge is held";
    EXPECT_EQ(coefficientsOf(p, 1), (std::vector<int>{12288, 4096}));
    EXPECT_EQ(coefficientsOf(p, 2), (std::vector<int>{4096, 12288}));
    EXPECT_EQ(coefficientsOf(p, 3), (std::vector<int>{0, 16384}));
}

TEST(ResamplingProgram, SameSizeIsTheIdentity) {
    EXPECT_TRUE(ResamplingProgram(triangleKernel(), 37, 37, 0.0, 37.0).isIdentity());
    EXPECT_FALSE(ResamplingProgram(triangleKernel(), 37, 37, 0.5, 37.0).isIdentity());
}

TEST(ResamplingProgram, CoefficientsSumToUnityAndStayInsideTheSource) {
    std::mt19937 random(7);
    for (const ResamplingKernel& kernel : {triangleKernel(), bicubicKernel(1.0 / 3.0, 1.0 / 3.0)}) {
        for (int trial = 0; trial < 300; ++trial) {
            const int src = std::uniform_int_distribution<int>(1, 400)(random);
            const int dst = std::uniform_int_distribution<int>(1, 400)(random);
            ResamplingProgram p(kernel, src, dst, 0.0, src);
            for (int i = 0; i < dst; ++i) {
                int sum = 0;
                for (int k = 0; k < p.taps(); ++k) sum += p.coefficients(i)[k];
                ASSERT_EQ(sum, 16384) << src << " -> " << dst << ", output " << i;
                ASSERT_GE(p.firstPixel(i), 0);
                ASSERT_LE(p.firstPixel(i) + p.taps(), src);
            }
        }
    }
}

TEST(ResizeOrder, ThePassThatShrinksMoreComesFirst) {
    EXPECT_FALSE(resizeVerticalFirst(720, 480, 176, 120));
    EXPECT_FALSE(resizeVerticalFirst(1920, 1080, 176, 120));
    EXPECT_TRUE(resizeVerticalFirst(720, 480, 360, 120));
    EXPECT_FALSE(resizeVerticalFirst(720, 480, 360, 240)) << "equal ratios go horizontal first";
}

// Colour bars over the top half, a zone plate below; alpha is a ramp, or a
// copy of blue.
MutableFramePtr testCard(int w, int h, bool alphaFromBlue = false) {
    MutableFramePtr f = Frame::create(w, h, PixelType::RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = f->plane(0).row(y) + 4 * x;
            if (y < h / 2) {
                const int bar = x * 8 / w;
                p[0] = bar & 1 ? 235 : 16;
                p[1] = bar & 2 ? 235 : 16;
                p[2] = bar & 4 ? 235 : 16;
            } else {
                const double dx = x - w / 2.0, dy = y - h * 0.75;
                p[0] = p[1] = p[2] = uint8_t(127.5 + 127.0 * std::cos((dx * dx + dy * dy) * 0.0025));
            }
            p[3] = alphaFromBlue ? p[0] : uint8_t((x * 3 + y) & 255);
        }
    return f;
}

ClipPtr still(FramePtr f) {
    return std::make_shared<StillClip>(videoInfo(f->width(), f->height(), f->pixelType(), 1), f);
}

class ResizeAgainstSwscale : public ::testing::TestWithParam<std::pair<int, int>> {};

// Largest difference over blue, green and red (swscale rounds alpha its own way).
int largestColourDifference(const Frame& a, const Frame& b) {
    int most = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width() * 4; ++x)
            if (x % 4 != 3) most = std::max(most, std::abs(int(a.plane(0).row(y)[x]) - int(b.plane(0).row(y)[x])));
    return most;
}

TEST_P(ResizeAgainstSwscale, Rgb32ColoursAreWithinOneLevelEverywhereIncludingTheEdges) {
    const auto [w, h] = GetParam();
    MutableFramePtr card = testCard(720, 480);
    BilinearResize resize(still(card), w, h);
    FramePtr ours = resize.frame(0);
    SwscaleSettings s;
    s.flags = SWS_BILINEAR | SWS_FULL_CHR_H_INP;
    EXPECT_LE(largestColourDifference(*ours, *swscale(*card, w, h, PixelType::RGB32, s)), 1);
}

TEST_P(ResizeAgainstSwscale, Rgb32AlphaIsFilteredLikeTheColours) {
    const auto [w, h] = GetParam();
    FramePtr ours = BilinearResize(still(testCard(720, 480, true)), w, h).frame(0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ASSERT_EQ(ours->plane(0).row(y)[4 * x + 3], ours->plane(0).row(y)[4 * x]);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ResizeAgainstSwscale,
                         ::testing::Values(std::pair{176, 120}, std::pair{360, 240}, std::pair{1000, 700},
                                           std::pair{720, 240}, std::pair{333, 480}));

TEST(Resize, Rgb24IsWithinOneLevelOfSwscale) {
    MutableFramePtr card = testCard(720, 480);
    MutableFramePtr rgb24 = Frame::create(720, 480, PixelType::RGB24);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 720; ++x) std::memcpy(rgb24->plane(0).row(y) + 3 * x, card->plane(0).row(y) + 4 * x, 3);
    BilinearResize resize(still(rgb24), 176, 120);
    SwscaleSettings s;
    s.flags = SWS_BILINEAR | SWS_FULL_CHR_H_INP;
    EXPECT_LE(largestDifference(*resize.frame(0), *swscale(*rgb24, 176, 120, PixelType::RGB24, s)), 1);
}

MutableFramePtr yv12Card(int w, int h) {
    MutableFramePtr f = Frame::create(w, h, PixelType::YV12);
    for (int p = 0; p < 3; ++p)
        for (int y = 0; y < f->plane(p).rows; ++y)
            for (int x = 0; x < f->plane(p).rowBytes; ++x) {
                const double dx = x - f->plane(p).rowBytes / 2.0, dy = y - f->plane(p).rows / 2.0;
                f->plane(p).row(y)[x] = p == 0 ? uint8_t(127.5 + 100 * std::cos((dx * dx + dy * dy) * 0.003))
                                               : uint8_t((x / 20) % 2 ? 200 : 60 + y / 8 + p);
            }
    return f;
}

TEST(Resize, Yv12LumaAndCentredChromaAreWithinOneLevelOfSwscale) {
    MutableFramePtr card = yv12Card(720, 480);
    SwscaleSettings s;
    s.flags = SWS_BILINEAR | SWS_ACCURATE_RND;
    s.srcChromaH = s.srcChromaV = s.dstChromaH = s.dstChromaV = 128;
    for (auto [w, h] : {std::pair{176, 120}, std::pair{360, 240}, std::pair{1000, 700}}) {
        BilinearResize resize(still(card), w, h);
        EXPECT_LE(largestDifference(*resize.frame(0), *swscale(*card, w, h, PixelType::YV12, s)), 1) << w << "x" << h;
    }
}

TEST(Resize, Yuy2LumaMatchesTheYv12Path) {
    MutableFramePtr planar = yv12Card(720, 480);
    MutableFramePtr packed = Frame::create(720, 480, PixelType::YUY2);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 720; ++x) packed->plane(0).row(y)[2 * x] = planar->plane(0).row(y)[x];
    for (int y = 0; y < 480; ++y)
        for (int pair = 0; pair < 360; ++pair) {
            packed->plane(0).row(y)[4 * pair + 1] = 77;
            packed->plane(0).row(y)[4 * pair + 3] = 177;
        }
    FramePtr fromPacked = BilinearResize(still(packed), 176, 120).frame(0);
    FramePtr fromPlanar = BilinearResize(still(planar), 176, 120).frame(0);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 176; ++x) {
            ASSERT_EQ(fromPacked->plane(0).row(y)[2 * x], fromPlanar->plane(0).row(y)[x]) << x << "," << y;
            ASSERT_EQ(fromPacked->plane(0).row(y)[(x / 2) * 4 + 1], 77);
            ASSERT_EQ(fromPacked->plane(0).row(y)[(x / 2) * 4 + 3], 177);
        }
}

TEST(Resize, SameSizeGivesTheSamePixels) {
    MutableFramePtr card = testCard(64, 48);
    EXPECT_EQ(largestDifference(*BilinearResize(still(card), 64, 48).frame(0), *card), 0);
}

TEST(Resize, SourceWindowSelectsAPartOfThePicture) {
    MutableFramePtr card = testCard(720, 480);
    FramePtr right = BilinearResize(still(card), 360, 480, {360.0, 0.0, 360.0, 480.0}).frame(0);
    for (int y = 0; y < 480; y += 7)
        for (int x = 0; x < 360 * 4; ++x)
            ASSERT_EQ(right->plane(0).row(y)[x], card->plane(0).row(y)[360 * 4 + x]) << x << "," << y;
}

TEST(Resize, WindowSizeOfZeroOrLessCountsFromTheFarEdge) {
    MutableFramePtr card = testCard(100, 50);
    FramePtr a = BilinearResize(still(card), 80, 50, {10.0, 0.0, -10.0, 0.0}).frame(0);
    FramePtr b = BilinearResize(still(card), 80, 50, {10.0, 0.0, 80.0, 50.0}).frame(0);
    EXPECT_EQ(largestDifference(*a, *b), 0);
}

TEST(Resize, SoundAndTimingPassThrough) {
    auto in =
        constantClip(withAudio(videoInfo(64, 48, PixelType::RGB32, 30, {30000, 1001}), 48000, 2, SampleType::Int16), 0,
                     [](int64_t s, int) { return double(s % 100); });
    BilinearResize r(in, 32, 24);
    EXPECT_EQ(r.info().fps, (Rational{30000, 1001}));
    EXPECT_EQ(r.info().frameCount, 30);
    EXPECT_EQ(r.info().audioSamples, in->info().audioSamples);
    EXPECT_EQ(readSamples<int16_t>(r, 150, 1), (std::vector<int16_t>{50, 50}));
}

struct SizeError {
    PixelType type;
    int width, height;
    const char* message;
};

class ResizeErrors : public ::testing::TestWithParam<SizeError> {};

TEST_P(ResizeErrors, AreReportedWithTheResizersText) {
    const SizeError& e = GetParam();
    ClipPtr in = constantClip(videoInfo(64, 48, e.type, 1), 0);
    EXPECT_EQ(scriptErrorOf([&] { BilinearResize(in, e.width, e.height); }), e.message);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ResizeErrors,
    ::testing::Values(SizeError{PixelType::RGB32, 0, 10, "Resize: Width must be greater than 0."},
                      SizeError{PixelType::RGB32, 10, -2, "Resize: Height must be greater than 0."},
                      SizeError{PixelType::YV12, 10, 11, "Resize: Planar destination height must be a multiple of 2."},
                      SizeError{PixelType::YV12, 11, 10, "Resize: Planar destination height must be a multiple of 2."},
                      SizeError{PixelType::YUY2, 11, 10, "Resize: YUY2 destination width must be a multiple of 2."},
                      SizeError{PixelType::RGB32, 100000, 10, "Resize: Width and height must be at most 65535."}));

TEST(Resize, ScriptCallPassesTheWindow) {
    Environment env;
    Args args = makeArgs({{ClipPtr(still(testCard(100, 50)))}, {int32_t(50)}, {int32_t(50)}, {50.0}}, 7);
    ClipPtr c = std::get<ClipPtr>(createBilinearResize(args, env));
    EXPECT_EQ(c->info().width, 50);
    EXPECT_EQ(c->frame(0)->plane(0).row(0)[0], testCard(100, 50)->plane(0).row(0)[200]);
}

}  // namespace
