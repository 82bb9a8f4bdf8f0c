#include "TestClips.h"
#include "engine/clips/BlankClip.h"
#include "engine/core/Frame.h"
#include "engine/filters/FunctionTable.h"

#include <gtest/gtest.h>

using namespace vistrel::engine;
using namespace vistrel::test;

namespace {

// BlankClip's signature slots.
enum Slot {
    Clips,
    Length,
    Width,
    Height,
    PixelTypeName,
    Fps,
    FpsDen,
    AudioRate,
    Stereo,
    SixteenBit,
    Color,
    ColorYuv,
    Template
};
constexpr size_t kSlots = 13;

class BlankClipCall : public ::testing::Test {
protected:
    std::vector<std::vector<Value>> slots = std::vector<std::vector<Value>>(kSlots);

    void set(Slot s, Value v) { slots[s] = {std::move(v)}; }
    ClipPtr call() { return callClip(createBlankClip, makeArgs(slots, kSlots)); }
};

TEST_F(BlankClipCall, WithoutArgumentsIs640x480Rgb32At24FpsWith240FramesOfMonoSilence) {
    ClipPtr c = call();
    const VideoInfo& vi = c->info();
    EXPECT_EQ(shapeOf(vi), "640x480 RGB32 24/1 fps 240 frames, 44100 Hz 1 ch int16 441000 samples");
}

TEST_F(BlankClipCall, DefaultColourIsBlackWithAlphaZero) {
    FramePtr f = call()->frame(17);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(byteAt(*f, 0, i, 0), 0) << "byte " << i;
    EXPECT_EQ(byteAt(*f, 0, 639 * 4 + 3, 479), 0);
}

TEST_F(BlankClipCall, AudioIsSamplesBeforeTheLengthAtTheFrameRate) {
    set(Length, 100);
    set(Fps, 25);
    EXPECT_EQ(call()->info().audioSamples, 176400);
}

TEST_F(BlankClipCall, PreviewBlankOnANtscRateHas147147SamplesPer100Frames) {
    // blankclip(a.framecount(), 176, 120, "rgb32", a.framerate()) on a 30000/1001 source
    set(Length, 100);
    set(Width, 176);
    set(Height, 120);
    set(PixelTypeName, std::string("rgb32"));
    set(Fps, 30000.0 / 1001.0);
    const VideoInfo vi = call()->info();
    EXPECT_EQ(shapeOf(vi), "176x120 RGB32 15712927/524288 fps 100 frames, 44100 Hz 1 ch int16 147147 samples");
}

TEST_F(BlankClipCall, FpsWithDenominatorRoundsTheNumerator) {
    set(Fps, 29.6);
    set(FpsDen, 1);
    EXPECT_EQ(call()->info().fps, (Rational{30, 1}));
    set(Fps, 60000);
    set(FpsDen, 2002);
    EXPECT_EQ(call()->info().fps, (Rational{30000, 1001}));
}

TEST_F(BlankClipCall, UnknownPixelTypeIsRefusedWithTheListOfTypes) {
    set(PixelTypeName, std::string("XYZ"));
    EXPECT_EQ(scriptErrorOf([&] { call(); }),
              "BlankClip: pixel_type must be \"RGB32\", \"RGB24\", \"YV12\" or \"YUY2\"");
}

TEST_F(BlankClipCall, PixelTypeIsCaseInsensitive) {
    set(PixelTypeName, std::string("yUy2"));
    EXPECT_EQ(call()->info().pixelType, PixelType::YUY2);
}

TEST_F(BlankClipCall, TwoTemplatesAreRefused) {
    ClipPtr a = call(), b = call();
    slots[Clips] = {a, b};
    EXPECT_EQ(scriptErrorOf([&] { call(); }), "BlankClip: Only 1 Template clip allowed.");
    slots[Clips] = {a};
    set(Template, b);
    EXPECT_EQ(scriptErrorOf([&] { call(); }), "BlankClip: Only 1 Template clip allowed.");
}

TEST_F(BlankClipCall, TemplateLendsItsExactRateLengthAndSoundFormat) {
    auto source = constantClip(
        withAudio(videoInfo(320, 240, PixelType::YV12, 77, {30000, 1001}), 48000, 2, SampleType::Float32), 0);
    slots[Clips] = {ClipPtr(source)};
    const VideoInfo vi = call()->info();
    EXPECT_EQ(shapeOf(vi), "320x240 YV12 30000/1001 fps 77 frames, 48000 Hz 2 ch float " +
                               std::to_string(source->info().audioSamples) + " samples");
}

TEST_F(BlankClipCall, NamedClipIsATemplateToo) {
    set(Template, ClipPtr(constantClip(videoInfo(64, 48, PixelType::RGB24, 5), 0)));
    const VideoInfo vi = call()->info();
    EXPECT_EQ(vi.width, 64);
    EXPECT_EQ(vi.frameCount, 5);
    EXPECT_FALSE(vi.hasAudio());
}

TEST_F(BlankClipCall, TemplateWithoutVideoGetsDefaultPictureWhenASizeIsGiven) {
    VideoInfo audioOnly;
    audioOnly = withAudio(audioOnly, 48000, 2, SampleType::Int16, 96000);
    slots[Clips] = {ClipPtr(constantClip(audioOnly, 0))};
    set(Width, 320);
    const VideoInfo vi = call()->info();
    EXPECT_EQ(shapeOf(vi), "320x480 RGB32 24/1 fps 48 frames, 48000 Hz 2 ch int16 96000 samples")
        << "48 frames: two seconds of sound at 24 fps";
}

TEST_F(BlankClipCall, TemplateWithoutVideoAndNoSizeGivesSoundOnly) {
    VideoInfo audioOnly;
    audioOnly = withAudio(audioOnly, 48000, 1, SampleType::Int16, 1000);
    slots[Clips] = {ClipPtr(constantClip(audioOnly, 0))};
    const VideoInfo vi = call()->info();
    EXPECT_FALSE(vi.hasVideo());
    EXPECT_EQ(vi.frameCount, 1) << "1000 samples round up to one frame";
    EXPECT_EQ(vi.audioSamples, 2000);
}

TEST_F(BlankClipCall, TemplateWithoutSoundGetsDefaultSoundWhenAudioIsAskedFor) {
    slots[Clips] = {ClipPtr(constantClip(videoInfo(64, 48, PixelType::RGB32, 24), 0))};
    set(Stereo, true);
    const VideoInfo vi = call()->info();
    EXPECT_EQ(shapeOf(vi), "64x48 RGB32 24/1 fps 24 frames, 44100 Hz 2 ch int16 44100 samples");
}

TEST_F(BlankClipCall, AudioRateZeroGivesNoSound) {
    set(AudioRate, 0);
    const VideoInfo vi = call()->info();
    EXPECT_FALSE(vi.hasAudio());
    EXPECT_EQ(vi.audioSamples, 0);
}

TEST_F(BlankClipCall, BothAudioFormsSetChannelsAndSampleType) {
    set(Stereo, true);
    set(SixteenBit, false);
    EXPECT_EQ(call()->info().channels, 2);
    EXPECT_EQ(call()->info().sampleType, SampleType::Float32);
    set(Stereo, 6);
    set(SixteenBit, std::string("16Bit"));
    EXPECT_EQ(call()->info().channels, 6);
    EXPECT_EQ(call()->info().sampleType, SampleType::Int16);
    set(SixteenBit, std::string("24bit"));
    EXPECT_EQ(scriptErrorOf([&] { call(); }), "BlankClip: sample_type must be \"16bit\" or \"float\"");
}

TEST_F(BlankClipCall, SoundIsSilenceOfTheRightType) {
    set(SixteenBit, false);
    ClipPtr c = call();
    std::vector<float> samples = readSamples<float>(*c, 100, 50);
    for (float s : samples) EXPECT_EQ(s, 0.0f);
}

TEST_F(BlankClipCall, Rgb32ColourIsStoredUnchangedIncludingTheTopByte) {
    set(Color, int32_t(0x12FF8040));
    FramePtr f = call()->frame(0);
    EXPECT_EQ(byteAt(*f, 0, 0, 0), 0x40);
    EXPECT_EQ(byteAt(*f, 0, 1, 0), 0x80);
    EXPECT_EQ(byteAt(*f, 0, 2, 0), 0xFF);
    EXPECT_EQ(byteAt(*f, 0, 3, 0), 0x12);
}

TEST_F(BlankClipCall, Rgb24ColourIsBlueGreenRed) {
    set(PixelTypeName, std::string("RGB24"));
    set(Color, int32_t(0x102030));
    FramePtr f = call()->frame(0);
    const int last = (f->width() - 1) * 3;
    EXPECT_EQ(byteAt(*f, 0, last, 479), 0x30);
    EXPECT_EQ(byteAt(*f, 0, last + 1, 479), 0x20);
    EXPECT_EQ(byteAt(*f, 0, last + 2, 479), 0x10);
}

TEST_F(BlankClipCall, Yv12BlackAndWhiteAreLimitedRange) {
    set(PixelTypeName, std::string("YV12"));
    FramePtr black = call()->frame(0);
    EXPECT_EQ(byteAt(*black, 0, 5, 5), 16);
    EXPECT_EQ(byteAt(*black, 1, 5, 5), 128);
    EXPECT_EQ(byteAt(*black, 2, 319, 239), 128);
    set(Color, int32_t(0xFFFFFF));
    FramePtr white = call()->frame(0);
    EXPECT_EQ(byteAt(*white, 0, 639, 479), 235);
    EXPECT_EQ(byteAt(*white, 1, 0, 0), 128);
}

TEST_F(BlankClipCall, Yuy2RedIsStoredAsLumaChromaPairs) {
    set(PixelTypeName, std::string("YUY2"));
    set(Color, int32_t(0xFF0000));
    FramePtr f = call()->frame(0);
    EXPECT_EQ(byteAt(*f, 0, 0, 0), 81);
    EXPECT_EQ(byteAt(*f, 0, 1, 0), 90);
    EXPECT_EQ(byteAt(*f, 0, 2, 0), 81);
    EXPECT_EQ(byteAt(*f, 0, 3, 0), 240);
}

TEST_F(BlankClipCall, ColorYuvIsStoredAsGivenAndOnlyForYuv) {
    set(PixelTypeName, std::string("YV12"));
    set(ColorYuv, int32_t(0x5A6B7C));
    FramePtr f = call()->frame(0);
    EXPECT_EQ(byteAt(*f, 0, 0, 0), 0x5A);
    EXPECT_EQ(byteAt(*f, 1, 0, 0), 0x6B);
    EXPECT_EQ(byteAt(*f, 2, 0, 0), 0x7C);
    set(PixelTypeName, std::string("RGB32"));
    EXPECT_EQ(scriptErrorOf([&] { call(); }), "BlankClip: color_yuv only valid for YUV color spaces");
}

TEST_F(BlankClipCall, OneFrameServesEveryFrameNumber) {
    ClipPtr c = call();
    EXPECT_EQ(c->frame(0), c->frame(239));
    EXPECT_EQ(c->frame(-5), c->frame(100000));
}

TEST_F(BlankClipCall, OddYv12SizeAndNegativeLengthAreRefused) {
    set(PixelTypeName, std::string("YV12"));
    set(Width, 641);
    EXPECT_EQ(scriptErrorOf([&] { call(); }), "BlankClip: YV12 width and height must be even");
    slots[Width].clear();
    set(Length, -1);
    EXPECT_EQ(scriptErrorOf([&] { call(); }), "BlankClip: length must not be negative");
}

TEST_F(BlankClipCall, LengthZeroIsAClipWithoutFrames) {
    set(Length, 0);
    const VideoInfo vi = call()->info();
    EXPECT_EQ(vi.frameCount, 0);
    EXPECT_EQ(vi.audioSamples, 0);
}

struct FloatRateCase {
    double fps;
    Rational expected;
};

class FrameRateFromFloat : public ::testing::TestWithParam<FloatRateCase> {};

TEST_P(FrameRateFromFloat, MatchesTheDoublingRule) {
    EXPECT_EQ(frameRateFromFloat(GetParam().fps), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(RateTable, FrameRateFromFloat,
                         ::testing::Values(FloatRateCase{30000.0 / 1001.0, {15712927, 524288}},
                                           FloatRateCase{24000.0 / 1001.0, {25140683, 1048576}},
                                           FloatRateCase{60000.0 / 1001.0, {15712927, 262144}},
                                           FloatRateCase{29.97, {31425823, 1048576}}, FloatRateCase{24, {24, 1}},
                                           FloatRateCase{25, {25, 1}}, FloatRateCase{30, {30, 1}},
                                           FloatRateCase{50, {50, 1}}));

}  // namespace
