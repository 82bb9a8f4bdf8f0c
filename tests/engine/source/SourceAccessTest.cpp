// Every codec and container: the frame asked for is the frame delivered, in
// any order, and the clip describes the file exactly.
#include "SourceFixture.h"
#include "engine/core/ScriptError.h"
#include "engine/source/LeadingFrames.h"
#include "support/CameraMedia.h"
#include "support/ClipContract.h"

#include <cstring>
#include <random>

namespace vistrel::test {
namespace {

using engine::PixelType;
using engine::Rational;

class SourceAccessTest : public SourceTest, public ::testing::WithParamInterface<MediaRecipe> {
protected:
    // Requests frames in the given order and names every one that came back wrong.
    void expectFramesInOrder(engine::Clip& clip, const std::vector<int64_t>& order) {
        int wrong = 0;
        for (int64_t n : order) {
            const int shown = readFrameIndex(*clip.frame(n));
            if (shown != n && ++wrong <= 10) ADD_FAILURE() << "asked for frame " << n << ", got " << shown;
        }
        EXPECT_EQ(wrong, 0) << "of " << order.size() << " requests";
    }
};

TEST_P(SourceAccessTest, DescribesTheFileExactly) {
    const MediaRecipe& recipe = GetParam();
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipe);
    auto clip = open(file);
    const engine::VideoInfo& info = clip->info();
    EXPECT_EQ(info.width, recipe.width);
    EXPECT_EQ(info.height, recipe.height);
    EXPECT_EQ(info.frameCount, recipe.frames);
    EXPECT_EQ(info.fps, Rational::reduced(recipe.fpsNum, recipe.fpsDen));
    EXPECT_EQ(info.pixelType, recipe.pixelFormat == "bgr24" ? PixelType::RGB32 : PixelType::YV12);
}

TEST_P(SourceAccessTest, KeepsTheClipContract) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, GetParam());
    expectClipKeepsItsContract(*open(file));
}

TEST_P(SourceAccessTest, StepsForwardFromTheStart) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, GetParam());
    auto clip = open(file);
    std::vector<int64_t> order;
    for (int64_t n = 0; n < 40; ++n) order.push_back(n);
    expectFramesInOrder(*clip, order);
}

TEST_P(SourceAccessTest, StepsBackwardAcrossKeyframes) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, GetParam());
    auto clip = open(file);
    const int64_t last = clip->info().frameCount - 1;
    std::vector<int64_t> order;
    for (int64_t n = last; n >= last - 30; --n) order.push_back(n);
    for (int64_t n = 30; n >= 0; --n) order.push_back(n);
    expectFramesInOrder(*clip, order);
}

TEST_P(SourceAccessTest, JumpsAroundKeyframesAndToTheLastThreeFrames) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, GetParam());
    auto clip = open(file);
    const int64_t count = clip->info().frameCount;
    expectFramesInOrder(*clip,
                        {count / 2,    11, 12,        13,        23,        24, 25,        47,        48, 49,
                         24,           12, count - 3, count - 2, count - 1, 0,  count - 1, count - 3, 1,  count / 2 + 1,
                         count / 2 - 1});
}

TEST_P(SourceAccessTest, EveryFrameIsRightStraightAfterAJump) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, GetParam());
    auto clip = open(file);
    const int64_t count = clip->info().frameCount;
    std::vector<int64_t> order;
    for (int64_t n = 0; n < std::min<int64_t>(count, 80); ++n) {
        order.push_back((n + count / 2) % count);
        order.push_back(n);
    }
    expectFramesInOrder(*clip, order);
}

TEST_P(SourceAccessTest, RandomRequestsGetTheirOwnFrames) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, GetParam());
    auto clip = open(file);
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int64_t> anyFrame(0, clip->info().frameCount - 1);
    std::vector<int64_t> order(100);
    for (auto& n : order) n = anyFrame(random);
    expectFramesInOrder(*clip, order);
}

TEST_P(SourceAccessTest, ASecondSourceOfTheSameFileDecodesAlongside) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, GetParam());
    auto first = open(file), second = open(file);
    const int64_t last = first->info().frameCount - 1;
    for (int64_t n : {int64_t(5), last, int64_t(30)}) {
        EXPECT_EQ(readFrameIndex(*first->frame(n)), n);
        EXPECT_EQ(readFrameIndex(*second->frame(last - n)), last - n);
    }
}

// Filters that only read a source's picture borrow the decoder's own; mixed
// with copies taken by frame(), in jumps and steps back, every one is right.
TEST_P(SourceAccessTest, LentPicturesAreTheFramesAskedForAndMatchTheCopies) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, GetParam());
    auto clip = open(file), reference = open(file);
    const int64_t count = clip->info().frameCount;
    int wrong = 0;
    for (int64_t n : {int64_t(3), int64_t(4), count / 2, int64_t(2), int64_t(3), count - 1, count / 2 + 1}) {
        if (n % 2 == 0) clip->frame(n);  // a copy kept among the recent frames, lent from there next time
        clip->withFrame(n, [&](const engine::Frame& lent) {
            const engine::FramePtr copy = reference->frame(n);
            for (int p = 0; p < copy->planeCount(); ++p)
                for (int y = 0; y < copy->plane(p).rows; ++y)
                    if (std::memcmp(lent.plane(p).row(y), copy->plane(p).row(y), size_t(copy->plane(p).rowBytes)) &&
                        ++wrong <= 5)
                        ADD_FAILURE() << "frame " << n << " plane " << p << " row " << y << " differs";
            EXPECT_EQ(readFrameIndex(lent), n);
        });
    }
    EXPECT_EQ(wrong, 0);
}

std::string recipeName(const ::testing::TestParamInfo<MediaRecipe>& info) {
    std::string name;
    for (char c : info.param.name) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryCodec, SourceAccessTest, ::testing::ValuesIn(recipes::constantRate()), recipeName);
INSTANTIATE_TEST_SUITE_P(CameraFiles, SourceAccessTest, ::testing::ValuesIn(recipes::cameraFiles()), recipeName);

TEST_F(SourceTest, UnusualRatesComeOutAsExactFractions) {
    for (auto [num, den] : {std::pair{15, 1}, {12, 1}, {25, 2}, {24000, 1001}, {10, 3}}) {
        MediaRecipe recipe = recipes::silentAvi();
        recipe.name = "rate-" + std::to_string(num) + "-" + std::to_string(den);
        recipe.fpsNum = num;
        recipe.fpsDen = den;
        recipe.frames = 40;
        VISTREL_TEST_MEDIA_OR_SKIP(file, recipe);
        EXPECT_EQ(open(file)->info().fps, Rational::reduced(num, den)) << num << "/" << den;
    }
}

TEST_F(SourceTest, AskedPixelTypesComeOutWithTheFramesStillReadable) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::mpeg4BFramesAvi());
    for (PixelType type : {PixelType::RGB32, PixelType::RGB24, PixelType::YUY2, PixelType::YV12}) {
        engine::SourceOptions options;
        options.pixelType = type;
        auto clip = open(file, options);
        EXPECT_EQ(clip->info().pixelType, type);
        auto frame = clip->frame(17);
        EXPECT_EQ(frame->pixelType(), type);
        EXPECT_EQ(readFrameIndex(*frame), 17) << engine::pixelTypeName(type);
    }
}

TEST_F(SourceTest, FourTwoTwoIsConvertedToYV12WithNeutralChroma) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::yuv422Avi());
    auto frame = open(file)->frame(3);
    ASSERT_EQ(frame->pixelType(), PixelType::YV12);
    EXPECT_EQ(frame->plane(1).rows, 120);
    EXPECT_NEAR(frame->plane(1).row(60)[80], 128, 2);
    EXPECT_NEAR(frame->plane(2).row(60)[80], 128, 2);
}

TEST_F(SourceTest, AnOddSizedYuvPictureComesOutAsRgb32WithEveryPixel) {
    MediaRecipe recipe = recipes::silentAvi();
    recipe.name = "odd-size";
    recipe.width = 321;
    recipe.height = 241;
    recipe.frames = 20;
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipe);
    auto clip = open(file);
    EXPECT_EQ(clip->info().pixelType, PixelType::RGB32);
    EXPECT_EQ(clip->info().width, 321);
    EXPECT_EQ(clip->info().height, 241);
    EXPECT_EQ(readFrameIndex(*clip->frame(13)), 13);

    engine::SourceOptions yv12;
    yv12.pixelType = PixelType::YV12;
    EXPECT_EQ(openError(file, yv12), "AVISource: couldn't open file '" + file.string() +
                                         "'\nYV12 needs an even width and height; the picture is 321x241.");
}

TEST_F(SourceTest, RgbKeepsFullWhiteAndBlackWithOpaqueAlpha) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::rawBgrAvi());
    auto frame = open(file)->frame(1);  // index 1: block 0 white, block 1 black
    const uint8_t* white = frame->plane(0).row(30) + 40 * 4;
    const uint8_t* black = frame->plane(0).row(30) + 120 * 4;
    EXPECT_EQ(white[0], 255);
    EXPECT_EQ(white[3], 255);
    EXPECT_EQ(black[1], 0);
    EXPECT_EQ(black[3], 255);
}

TEST_F(SourceTest, OpenGopsHaveLeadingFramesAfterTheirKeyframesClosedOnesNone) {
    VISTREL_TEST_MEDIA_OR_SKIP(open, recipes::mpeg4BFramesAvi());
    VISTREL_TEST_MEDIA_OR_SKIP(closed, recipes::mpeg4ClosedGopAvi());
    engine::LeadingFrames openGops(open.string(), 0), closedGops(closed.string(), 0);
    EXPECT_EQ(openGops.after(0), 0);
    EXPECT_EQ(openGops.after(10), 2);  // the I-frame shown as frame 12 is stored 10th, before its two B-frames
    EXPECT_EQ(openGops.after(22), 2);
    EXPECT_EQ(closedGops.after(17), 0);
    engine::LeadingFrames missing((scratchFolder() / "missing.avi").string(), 0);
    EXPECT_EQ(missing.after(10), engine::LeadingFrames::kAssumedWhenUnknown);
}

TEST_F(SourceTest, BFramesInAviChooseHowTheSourceSeeks) {
    VISTREL_TEST_MEDIA_OR_SKIP(mpeg4, recipes::mpeg4BFramesAvi());
    VISTREL_TEST_MEDIA_OR_SKIP(mpeg1, recipes::mpeg1BFramesAvi());
    VISTREL_TEST_MEDIA_OR_SKIP(h264, recipes::h264BFramesAvi());
    VISTREL_TEST_MEDIA_OR_SKIP(mjpeg, recipes::mjpegAvi());
    EXPECT_EQ(open(mpeg4)->seekMethod(), engine::SeekMethod::SeekWithPreroll);
    EXPECT_EQ(open(mpeg1)->seekMethod(), engine::SeekMethod::DecodeInOrder);
    EXPECT_EQ(open(h264)->seekMethod(), engine::SeekMethod::Seek);
    EXPECT_EQ(open(mjpeg)->seekMethod(), engine::SeekMethod::Seek);
}

}  // namespace
}  // namespace vistrel::test
