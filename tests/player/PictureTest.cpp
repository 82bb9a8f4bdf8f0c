// Pictures for the screen: where they go in the area and what their pixels become.
#include "engine/core/FrameImage.h"
#include "player/FrameRenderer.h"
#include "support/FrameIndexPattern.h"

#include <gtest/gtest.h>

#include <cstring>

using vistrel::engine::Frame;
using vistrel::engine::FrameImageConverter;
using vistrel::engine::PixelType;
using vistrel::player::fittedRect;
using vistrel::player::fittedSize;

namespace {

TEST(PictureFit, PreviewFillsTheMainWindowPictureAreaExactly) {
    EXPECT_EQ(fittedRect(QSize(704, 120), QRect(0, 0, 704, 120)), QRect(0, 0, 704, 120));
}

TEST(PictureFit, WidePictureIsLetterboxedAndCentred) {
    EXPECT_EQ(fittedRect(QSize(704, 120), QRect(0, 0, 337, 231)), QRect(0, 87, 337, 57));
}

TEST(PictureFit, TallPictureIsPillarboxedAndCentred) {
    EXPECT_EQ(fittedRect(QSize(320, 240), QRect(0, 0, 704, 120)), QRect(272, 0, 160, 120));
}

TEST(PictureFit, SmallPictureGrowsToTheArea) {
    EXPECT_EQ(fittedSize(QSize(176, 120), QSize(352, 240)), QSize(352, 240));
}

TEST(PictureFit, ExtremeShapesKeepAtLeastOnePixel) {
    EXPECT_EQ(fittedSize(QSize(10000, 1), QSize(100, 100)), QSize(100, 1));
    EXPECT_EQ(fittedSize(QSize(1, 10000), QSize(100, 100)), QSize(1, 100));
}

TEST(PictureFit, EmptyPictureOrAreaGivesNothing) {
    EXPECT_TRUE(fittedSize(QSize(0, 0), QSize(100, 100)).isEmpty());
    EXPECT_TRUE(fittedSize(QSize(100, 100), QSize(0, 10)).isEmpty());
}

class FrameImageConverterTest : public ::testing::Test {
protected:
    FrameImageConverter converter;

    static std::shared_ptr<Frame> flat(PixelType type, int width, int height, uint8_t a, uint8_t b, uint8_t c) {
        auto frame = Frame::create(width, height, type);
        for (int y = 0; y < height; ++y) {
            uint8_t* row = frame->plane(0).row(y);
            for (int x = 0; x < width; ++x) {
                switch (type) {
                case PixelType::RGB32:
                    row[4 * x] = a, row[4 * x + 1] = b, row[4 * x + 2] = c, row[4 * x + 3] = 0;
                    break;
                case PixelType::RGB24: row[3 * x] = a, row[3 * x + 1] = b, row[3 * x + 2] = c; break;
                case PixelType::YUY2: row[2 * x] = a, row[2 * x + 1] = x % 2 ? c : b; break;
                case PixelType::YV12: row[x] = a; break;
                }
            }
        }
        if (type == PixelType::YV12)
            for (int plane = 1; plane < 3; ++plane)
                for (int y = 0; y < frame->plane(plane).rows; ++y)
                    std::memset(frame->plane(plane).row(y), plane == 1 ? b : c, frame->plane(plane).rowBytes);
        return frame;
    }
};

TEST_F(FrameImageConverterTest, Rgb32BytesAreBlueGreenRed) {
    const QImage image = converter.convert(*flat(PixelType::RGB32, 8, 4, 10, 20, 30));
    ASSERT_EQ(image.size(), QSize(8, 4));
    EXPECT_EQ(qRgb(30, 20, 10), image.pixel(3, 2) | 0xFF000000u);
}

TEST_F(FrameImageConverterTest, Rgb32ScaledKeepsItsColour) {
    const QImage image = converter.convert(*flat(PixelType::RGB32, 64, 32, 10, 20, 30), QSize(16, 8));
    ASSERT_EQ(image.size(), QSize(16, 8));
    EXPECT_EQ(qRgb(30, 20, 10), image.pixel(5, 5) | 0xFF000000u);
}

TEST_F(FrameImageConverterTest, Rgb24BytesAreBlueGreenRed) {
    const QImage image = converter.convert(*flat(PixelType::RGB24, 8, 4, 200, 100, 50));
    EXPECT_EQ(qRgb(50, 100, 200), image.pixel(1, 1) | 0xFF000000u);
}

TEST_F(FrameImageConverterTest, Yv12IsReadAsLimitedRangeRec601) {
    // Limited-range white, black and Rec.601 red (Y 81, U 90, V 240).
    const QRgb white = converter.convert(*flat(PixelType::YV12, 16, 16, 235, 128, 128)).pixel(8, 8);
    const QRgb black = converter.convert(*flat(PixelType::YV12, 16, 16, 16, 128, 128)).pixel(8, 8);
    const QRgb red = converter.convert(*flat(PixelType::YV12, 16, 16, 81, 90, 240)).pixel(8, 8);
    EXPECT_GE(qGreen(white), 253);
    EXPECT_LE(qGreen(black), 2);
    EXPECT_GE(qRed(red), 250);
    EXPECT_LE(qGreen(red), 4);
    EXPECT_LE(qBlue(red), 4);
}

TEST_F(FrameImageConverterTest, Yuy2IsConverted) {
    const QRgb grey = converter.convert(*flat(PixelType::YUY2, 16, 4, 126, 128, 128)).pixel(4, 2);
    EXPECT_NEAR(qRed(grey), 128, 2);
    EXPECT_NEAR(qBlue(grey), 128, 2);
}

TEST_F(FrameImageConverterTest, OddSizedYv12ShrinksWithoutLosingTheFrameIndex) {
    auto frame = Frame::create(321, 241, PixelType::YV12);
    vistrel::test::drawFrameIndex(*frame, 1234);
    const QImage image = converter.convert(*frame, QSize(161, 121));
    auto back = Frame::create(image.width(), image.height(), PixelType::RGB32);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(back->plane(0).row(y), image.constScanLine(y), image.width() * 4);
    EXPECT_EQ(vistrel::test::readFrameIndex(*back), 1234);
}

TEST_F(FrameImageConverterTest, OneConverterHandlesChangingFormatsAndSizes) {
    EXPECT_EQ(converter.convert(*flat(PixelType::YV12, 32, 32, 16, 128, 128), QSize(8, 8)).size(), QSize(8, 8));
    EXPECT_EQ(converter.convert(*flat(PixelType::RGB24, 20, 10, 0, 0, 0), QSize(40, 20)).size(), QSize(40, 20));
    EXPECT_EQ(converter.convert(*flat(PixelType::YUY2, 64, 8, 16, 128, 128)).size(), QSize(64, 8));
}

}  // namespace
