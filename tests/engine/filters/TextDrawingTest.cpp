#include "TestClips.h"
#include "engine/filters/AddBorders.h"
#include "engine/filters/ConvertToRGB32.h"
#include "engine/filters/FunctionTable.h"
#include "engine/filters/Subtitle.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace vistrel::engine;
using namespace vistrel::test;

namespace {

// The box around pixels that `pick` selects.
struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool empty() const { return right < 0; }
};

template <typename Pick>
Box boxOf(const Frame& f, Pick pick) {
    Box b;
    for (int y = 0; y < f.height(); ++y)
        for (int x = 0; x < f.width(); ++x)
            if (pick(f.plane(0).row(y) + x * bytesPerPixel(f.pixelType()))) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
            }
    return b;
}

bool samePixels(const Frame& a, const Frame& b) {
    for (int y = 0; y < a.height(); ++y)
        if (std::memcmp(a.plane(0).row(y), b.plane(0).row(y), size_t(a.plane(0).rowBytes)) != 0) return false;
    return true;
}

bool yellowish(const uint8_t* p) { return p[2] > 200 && p[1] > 200 && p[0] < 90; }
bool whitish(const uint8_t* p) { return p[0] > 220 && p[1] > 220 && p[2] > 220; }
bool darkerThanGrey(const uint8_t* p) { return p[0] < 90 && p[1] < 90 && p[2] < 90; }

// A mid-grey RGB32 clip with alpha 77 in every pixel.
ClipPtr greyRgb32(int w = 320, int h = 240, int64_t frames = 10) {
    return std::make_shared<PatternClip>(videoInfo(w, h, PixelType::RGB32, frames),
                                         [](int64_t, int) { return uint8_t(128); });
}

FramePtr subtitled(ClipPtr clip, SubtitleSettings s, int64_t n = 0) {
    Subtitle sub(std::move(clip), s);
    return sub.frame(n);
}

SubtitleSettings text(const std::string& t) {
    SubtitleSettings s;
    s.text = t;
    return s;
}

TEST(Subtitle, KeepsTheClipsDescription) {
    auto in =
        constantClip(withAudio(videoInfo(64, 32, PixelType::RGB32, 17, {30000, 1001}), 48000, 2, SampleType::Int16), 0);
    Subtitle s(in, text("x"));
    EXPECT_EQ(s.info().width, 64);
    EXPECT_EQ(s.info().frameCount, 17);
    EXPECT_EQ(s.info().fps, (Rational{30000, 1001}));
    EXPECT_EQ(s.info().audioSamples, in->info().audioSamples);
}

TEST(Subtitle, DefaultIsYellowAtTheTopLeft) {
    const Box b = boxOf(*subtitled(greyRgb32(), text("Hello")), yellowish);
    ASSERT_FALSE(b.empty());
    EXPECT_GE(b.left, 7);
    EXPECT_LE(b.left, 11);
    EXPECT_LE(b.top, 5);
    EXPECT_LE(b.bottom, 20) << "about 18 pixels of line";
    EXPECT_GE(b.bottom - b.top, 9);
}

TEST(Subtitle, HasADarkHaloAroundTheText) {
    FramePtr f = subtitled(greyRgb32(), text("Hello"));
    const Box text = boxOf(*f, yellowish), halo = boxOf(*f, darkerThanGrey);
    ASSERT_FALSE(halo.empty());
    EXPECT_LT(halo.left, text.left);
    EXPECT_GT(halo.right, text.right);
}

TEST(Subtitle, TransparentHaloDrawsNoHalo) {
    SubtitleSettings s = text("Hello");
    s.colours.halo = 0xFF000000;
    EXPECT_TRUE(boxOf(*subtitled(greyRgb32(), s), darkerThanGrey).empty());
}

TEST(Subtitle, HalfTransparentTextMixesWithThePicture) {
    SubtitleSettings s = text("Hello");
    s.colours.text = 0x80FFFFFF;
    s.colours.halo = 0xFF000000;
    FramePtr f = subtitled(greyRgb32(), s);
    int brightest = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x) brightest = std::max<int>(brightest, f->plane(0).row(y)[4 * x]);
    EXPECT_GT(brightest, 170);
    EXPECT_LT(brightest, 205);
}

TEST(Subtitle, LeavesRgb32AlphaAlone) {
    ClipPtr in = std::make_shared<PatternClip>(videoInfo(100, 40, PixelType::RGB32, 1),
                                               [](int64_t, int) { return uint8_t(77); });
    FramePtr f = subtitled(in, text("Hello"));
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x) ASSERT_EQ(f->plane(0).row(y)[4 * x + 3], 77);
}

TEST(Subtitle, OnlyFramesInTheRangeAreDrawnOn) {
    ClipPtr in = greyRgb32();
    SubtitleSettings s = text("Hello");
    s.firstFrame = 3;
    s.lastFrame = 5;
    Subtitle sub(in, s);
    EXPECT_TRUE(samePixels(*sub.frame(2), *in->frame(2))) << "outside the range the child's own frame";
    EXPECT_FALSE(boxOf(*sub.frame(3), yellowish).empty());
    EXPECT_FALSE(boxOf(*sub.frame(5), yellowish).empty());
    EXPECT_TRUE(boxOf(*sub.frame(6), yellowish).empty());
}

TEST(Subtitle, AlignNineIsTopRight) {
    SubtitleSettings s = text("Hello");
    s.align = 9;
    const Box b = boxOf(*subtitled(greyRgb32(), s), yellowish);
    EXPECT_GE(b.right, 320 - 12);
    EXPECT_LE(b.right, 320 - 7);
    EXPECT_LE(b.top, 5);
}

TEST(Subtitle, AlignOneIsBottomLeft) {
    SubtitleSettings s = text("Hello");
    s.align = 1;
    const Box b = boxOf(*subtitled(greyRgb32(), s), yellowish);
    EXPECT_GE(b.bottom, 240 - 12);
    EXPECT_LE(b.bottom, 240 - 2);
    EXPECT_LE(b.left, 11);
}

TEST(Subtitle, XMinusOneCentresTheText) {
    SubtitleSettings s = text("Hello");
    s.x = -1;
    const Box b = boxOf(*subtitled(greyRgb32(), s), yellowish);
    EXPECT_NEAR((b.left + b.right) / 2.0, 160, 3);
}

TEST(Subtitle, MoreLinesMakeATallerText) {
    const Box one = boxOf(*subtitled(greyRgb32(), text("Hello")), yellowish);
    const Box two = boxOf(*subtitled(greyRgb32(), text("Hello\nHello")), yellowish);
    EXPECT_GE(two.bottom - one.bottom, 15);
    SubtitleSettings escaped = text("Hello\\nHello");
    const Box literal = boxOf(*subtitled(greyRgb32(), escaped), yellowish);
    EXPECT_LT(literal.bottom, two.bottom) << "without lsp a backslash-n is text";
    escaped.lineSpacing = 0;
    EXPECT_EQ(boxOf(*subtitled(greyRgb32(), escaped), yellowish).bottom, two.bottom);
}

TEST(Subtitle, AlignOutsideTheKeypadIsRefused) {
    for (int align : {0, 10, -3}) {
        SubtitleSettings s = text("x");
        s.align = align;
        EXPECT_EQ(scriptErrorOf([&] { Subtitle(greyRgb32(), s); }),
                  "Subtitle: Align values are 1 - 9 mapped to your numeric pad");
    }
}

TEST(Subtitle, DrawsOnYv12LumaAndChroma) {
    ClipPtr in = std::make_shared<PatternClip>(videoInfo(64, 32, PixelType::YV12, 1),
                                               [](int64_t, int p) { return uint8_t(p ? 128 : 60); });
    FramePtr f = subtitled(in, text("Hi"));
    int brightLuma = 0, blueLow = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) brightLuma += f->plane(0).row(y)[x] > 150;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) blueLow += f->plane(1).row(y)[x] < 100;
    EXPECT_GT(brightLuma, 10);
    EXPECT_GT(blueLow, 2) << "yellow has little blue";
}

TEST(Subtitle, TextTooLargeToDrawIsAnError) {
    EXPECT_EQ(scriptErrorOf([] { Subtitle(greyRgb32(), text(std::string(400000, 'W'))); }),
              "Subtitle: the text is too large to draw");
}

TEST(Subtitle, EmptyTextChangesNothing) {
    ClipPtr in = greyRgb32();
    Subtitle s(in, text(""));
    EXPECT_TRUE(samePixels(*s.frame(0), *in->frame(0)));
}

TEST(Subtitle, ScriptCallUsesTheDefaultsAndNamedColours) {
    Environment env;
    std::vector<std::vector<Value>> slots(21);
    slots[0] = {greyRgb32()};
    slots[1] = {std::string("Hello")};
    slots[8] = {int32_t(0xFFFFFF)};
    ClipPtr c = std::get<ClipPtr>(createSubtitle(Args(slots), env));
    FramePtr f = c->frame(9);
    EXPECT_FALSE(boxOf(*f, whitish).empty());
    EXPECT_TRUE(boxOf(*f, yellowish).empty());
}

TEST(Version, IsA460x80Rgb24CardOf240FramesWithoutSound) {
    Environment env;
    ClipPtr v = std::get<ClipPtr>(createVersion(Args({}), env));
    const VideoInfo& vi = v->info();
    EXPECT_EQ(shapeOf(vi), "460x80 RGB24 24/1 fps 240 frames, no sound");
}

TEST(Version, ShowsLightTextOnDarkGreyFromNearTheTop) {
    Environment env;
    FramePtr f = std::get<ClipPtr>(createVersion(Args({}), env))->frame(0);
    EXPECT_EQ(byteAt(*f, 0, 0, 0), 0x40);
    EXPECT_EQ(byteAt(*f, 0, 459 * 3 + 2, 79), 0x40);
    const Box text = boxOf(*f, [](const uint8_t* p) { return p[2] > 0xD0 && p[1] > 0xD8 && p[0] > 0xA0; });
    ASSERT_FALSE(text.empty());
    EXPECT_GE(text.top, 4);
    EXPECT_LE(text.top, 12);
    EXPECT_NEAR((text.left + text.right) / 2.0, 230, 4);
    EXPECT_LE(text.bottom, 79);
}

TEST(IntroChain, VersionWithBordersConvertedAndCaptionedIs704x120Rgb32) {
    Environment env;
    ClipPtr version = std::get<ClipPtr>(createVersion(Args({}), env));
    ClipPtr framed = ConvertToRGB32::create(AddBorders::create(version, {122, 20, 122, 20}, 0));
    SubtitleSettings caption = text("Vistrel is powered by:");
    caption.colours.text = 0xFFFFFF;
    Subtitle intro(framed, caption);
    const VideoInfo& vi = intro.info();
    EXPECT_EQ(shapeOf(vi), "704x120 RGB32 24/1 fps 240 frames, no sound");
    FramePtr f = intro.frame(239);
    const Box caption_box = boxOf(*f, whitish);
    EXPECT_LE(caption_box.left, 11);
    EXPECT_LE(caption_box.top, 5);
    EXPECT_EQ(byteAt(*f, 0, 3, 119), 255) << "converted from RGB24: opaque";
    EXPECT_EQ(byteAt(*f, 0, 130 * 4, 60), 0x40) << "the version card inside the borders";
}

}  // namespace
