#include "TestClips.h"
#include "engine/clips/ErrorCard.h"

#include <gtest/gtest.h>

using namespace vistrel::engine;
using namespace vistrel::test;

namespace {

int redPixels(const Frame& f) {
    int n = 0;
    for (int y = 0; y < f.height(); ++y)
        for (int x = 0; x < f.width(); ++x) {
            const uint8_t* px = f.plane(0).row(y) + x * 4;
            if (px[2] > 200 && px[1] < 90 && px[0] < 90) ++n;
        }
    return n;
}

TEST(ErrorCard, IsA24FpsRgb32ClipOf240FramesWithoutSound) {
    ClipPtr card = makeErrorCard("Script error: syntax error\n(c:/preview.avs, line 3)");
    const VideoInfo& vi = card->info();
    EXPECT_EQ(vi.pixelType, PixelType::RGB32);
    EXPECT_EQ(vi.fps, (Rational{24, 1}));
    EXPECT_EQ(vi.frameCount, 240);
    EXPECT_FALSE(vi.hasAudio());
}

TEST(ErrorCard, WidthIsAMultipleOf8AndHeightOf2) {
    for (const char* message : {"x", "A longer message", "two\nlines of text", "three\nlines\nhere"}) {
        const VideoInfo vi = makeErrorCard(message)->info();
        EXPECT_EQ(vi.width % 8, 0) << message;
        EXPECT_EQ(vi.height % 2, 0) << message;
    }
}

TEST(ErrorCard, GrowsWithTheMessage) {
    const VideoInfo shortCard = makeErrorCard("short")->info();
    const VideoInfo longCard = makeErrorCard("a much, much longer message than that")->info();
    const VideoInfo twoLines = makeErrorCard("short\nshort")->info();
    EXPECT_GT(longCard.width, shortCard.width);
    EXPECT_EQ(longCard.height, shortCard.height);
    EXPECT_GE(twoLines.height, shortCard.height + 20) << "a second line of about 24 pixels";
}

TEST(ErrorCard, ShowsRedTextOnBlack) {
    ClipPtr card = makeErrorCard("Something failed");
    FramePtr f = card->frame(0);
    EXPECT_GT(redPixels(*f), 50);
    const uint8_t* corner = f->plane(0).row(f->height() - 1) + (f->width() - 1) * 4;
    EXPECT_EQ(corner[0], 0);
    EXPECT_EQ(corner[1], 0);
    EXPECT_EQ(corner[2], 0);
}

TEST(ErrorCard, TextStartsNearTheTopAndIsCentred) {
    FramePtr f = makeErrorCard("Centred")->frame(0);
    int top = f->height(), left = f->width(), right = -1;
    for (int y = 0; y < f->height(); ++y)
        for (int x = 0; x < f->width(); ++x)
            if (f->plane(0).row(y)[x * 4 + 2] > 100) {
                top = std::min(top, y);
                left = std::min(left, x);
                right = std::max(right, x);
            }
    EXPECT_GE(top, 3);
    EXPECT_LE(top, 12);
    EXPECT_NEAR(left, f->width() - 1 - right, 3);
}

}  // namespace

namespace {

TEST(ErrorCard, AnyMessageGivesACardOfSensibleSize) {
    const std::string endless(100000, 'x');
    const VideoInfo wide = makeErrorCard(endless)->info();
    EXPECT_LE(wide.width, 4000);
    EXPECT_LE(wide.height, 1200);
    std::string manyLines;
    for (int i = 0; i < 500; ++i) manyLines += "line\n";
    EXPECT_LE(makeErrorCard(manyLines)->info().height, 1200);
}

TEST(ErrorCard, WrappedLinesStillShowTheWholeLongPath) {
    const std::string path = "AVISource: couldn't open file '" + std::string(200, 'p') + "'";
    const VideoInfo vi = makeErrorCard(path)->info();
    EXPECT_GE(vi.height, 2 * 24) << "the long line is wrapped onto a second line";
}

}  // namespace
