// The index pattern of generated media: what a test reads back is what was drawn,
// also after shrinking, side by side, and never a number for a picture without one.
#include "support/FrameIndexPattern.h"

#include <gtest/gtest.h>

namespace vistrel::test {
namespace {

using engine::Frame;
using engine::PixelType;

void fill(Frame& frame, uint8_t value) {
    for (int p = 0; p < frame.planeCount(); ++p)
        for (int y = 0; y < frame.plane(p).rows; ++y)
            std::fill_n(frame.plane(p).row(y), frame.plane(p).rowBytes, p == 0 ? value : 128);
}

// A box-filtered shrink of an 8-bit grey picture, as a resizer would make it.
std::shared_ptr<Frame> shrunkGrey(const std::vector<uint8_t>& grey, int w, int h, int outW, int outH) {
    auto out = Frame::create(outW, outH, PixelType::YV12);
    fill(*out, 0);
    for (int y = 0; y < outH; ++y)
        for (int x = 0; x < outW; ++x) {
            const int x0 = x * w / outW, x1 = (x + 1) * w / outW, y0 = y * h / outH, y1 = (y + 1) * h / outH;
            int sum = 0;
            for (int sy = y0; sy < y1; ++sy)
                for (int sx = x0; sx < x1; ++sx) sum += grey[sy * w + sx];
            out->plane(0).row(y)[x] = static_cast<uint8_t>(sum / ((x1 - x0) * (y1 - y0)));
        }
    return out;
}

class FrameIndexPatternTest : public ::testing::TestWithParam<PixelType> {};

TEST_P(FrameIndexPatternTest, ReadsBackEveryIndexItDraws) {
    auto frame = Frame::create(64, 48, GetParam());
    for (int n : {0, 1, 2, 5, 255, 256, 1000, 2047, kMaxFrameIndex}) {
        drawFrameIndex(*frame, n);
        EXPECT_EQ(readFrameIndex(*frame), n) << pixelTypeName(GetParam());
    }
}

TEST_P(FrameIndexPatternTest, FlatPicturesCarryNoIndex) {
    auto frame = Frame::create(64, 48, GetParam());
    for (uint8_t value : {0, 16, 128, 235, 255}) {
        fill(*frame, value);
        EXPECT_EQ(readFrameIndex(*frame), kNoFrameIndex) << int(value);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryPixelType, FrameIndexPatternTest,
                         ::testing::Values(PixelType::RGB32, PixelType::RGB24, PixelType::YUY2, PixelType::YV12),
                         [](const auto& info) { return engine::pixelTypeName(info.param); });

TEST(FrameIndexPattern, SurvivesShrinkingToThePreviewSize) {
    for (int n : {0, 7, 150, 199, 3000}) {
        auto small = shrunkGrey(frameIndexPicture(n, 320, 240), 320, 240, 176, 120);
        EXPECT_EQ(readFrameIndex(*small), n);
    }
}

TEST(FrameIndexPattern, ReadsEachPictureOfASideBySideRow) {
    auto row = Frame::create(4 * 176, 120, PixelType::RGB32);
    const int indexes[] = {3, 150, 0, 4095};
    for (int i = 0; i < 4; ++i) drawFrameIndex(*row, indexes[i], QRect(i * 176, 0, 176, 120));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(readFrameIndex(*row, i * 176, 176), indexes[i]) << "picture " << i;
}

TEST(FrameIndexPattern, ABlendOfTwoFramesCarriesNoIndex) {
    const auto a = frameIndexPicture(10, 64, 48), b = frameIndexPicture(11, 64, 48);
    std::vector<uint8_t> half(a.size());
    for (size_t i = 0; i < a.size(); ++i) half[i] = static_cast<uint8_t>((a[i] + b[i]) / 2);
    EXPECT_EQ(readFrameIndex(*shrunkGrey(half, 64, 48, 64, 48)), kNoFrameIndex);
}

TEST(FrameIndexPattern, RefusesIndexesItCannotShow) {
    EXPECT_THROW(frameIndexCode(-1), std::out_of_range);
    EXPECT_THROW(frameIndexCode(kMaxFrameIndex + 1), std::out_of_range);
}

TEST(FrameIndexPattern, RefusesAnAreaOutsideTheFrame) {
    auto frame = Frame::create(64, 48, PixelType::RGB32);
    EXPECT_THROW(readFrameIndex(*frame, QRect(32, 0, 64, 48)), std::invalid_argument);
}

}  // namespace
}  // namespace vistrel::test
