// The source's decisions on their own: how to seek per codec and container,
// when frame times drift off a constant rate, and which recent frames it keeps.
#include "engine/source/FrameRates.h"
#include "engine/source/RecentFrames.h"
#include "engine/source/SeekMode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace vistrel::engine {
namespace {

StreamTraits stream(const std::string& container, AVCodecID codec, bool reorders) {
    StreamTraits traits;
    traits.container = container;
    traits.codec = codec;
    traits.reordersFrames = reorders;
    return traits;
}

TEST(SeekMethodChoice, MpegFourAndMpegTwoWithBFramesInAviSeekWithPreroll) {
    EXPECT_EQ(seekMethodFor(stream("avi", AV_CODEC_ID_MPEG4, true)), SeekMethod::SeekWithPreroll);
    EXPECT_EQ(seekMethodFor(stream("avi", AV_CODEC_ID_MPEG2VIDEO, true)), SeekMethod::SeekWithPreroll);
}

TEST(SeekMethodChoice, OtherReorderingCodecsInAviAreDecodedInOrder) {
    EXPECT_EQ(seekMethodFor(stream("avi", AV_CODEC_ID_MPEG1VIDEO, true)), SeekMethod::DecodeInOrder);
    EXPECT_EQ(seekMethodFor(stream("avi", AV_CODEC_ID_HEVC, true)), SeekMethod::DecodeInOrder);
    EXPECT_EQ(seekMethodFor(stream("avi", AV_CODEC_ID_VC1, true)), SeekMethod::DecodeInOrder);
}

TEST(SeekMethodChoice, SeeksWhereFfms2FindsTheRightFrame) {
    EXPECT_EQ(seekMethodFor(stream("avi", AV_CODEC_ID_H264, true)), SeekMethod::Seek);
    EXPECT_EQ(seekMethodFor(stream("avi", AV_CODEC_ID_MPEG4, false)), SeekMethod::Seek);
    EXPECT_EQ(seekMethodFor(stream("avi", AV_CODEC_ID_MJPEG, true)), SeekMethod::Seek);
    EXPECT_EQ(seekMethodFor(stream("avi", AV_CODEC_ID_FFV1, false)), SeekMethod::Seek);
    EXPECT_EQ(seekMethodFor(stream("mov,mp4,m4a,3gp,3g2,mj2", AV_CODEC_ID_MPEG4, true)), SeekMethod::Seek);
    EXPECT_EQ(seekMethodFor(stream("mpegts", AV_CODEC_ID_MPEG2VIDEO, false)), SeekMethod::Seek);
}

// Frame times in ticks of the given length, each rounded to a whole tick.
std::vector<int64_t> roundedTimes(int frames, Rational fps, double secondsPerTick, int64_t start = 0) {
    std::vector<int64_t> times;
    for (int n = 0; n < frames; ++n)
        times.push_back(start + std::llround(n * double(fps.den) / double(fps.num) / secondsPerTick));
    return times;
}

TEST(FrameRateCheck, TimesRoundedToMillisecondsKeepTheirRate) {
    const Rational ntsc{30000, 1001};
    EXPECT_FALSE(firstDriftingFrame(roundedTimes(10000, ntsc, 0.001), 0.001, ntsc));
}

TEST(FrameRateCheck, TimesThatStartLateKeepTheirRate) {
    const Rational pal{25, 1};
    EXPECT_FALSE(firstDriftingFrame(roundedTimes(500, pal, 1 / 90000.0, 126000), 1 / 90000.0, pal));
}

TEST(FrameRateCheck, ADroppedFrameIsFoundWhereItHappened) {
    const Rational pal{25, 1};
    std::vector<int64_t> times = roundedTimes(100, pal, 0.001);
    for (size_t n = 40; n < times.size(); ++n) times[n] += 40;  // one frame missing before frame 40
    const auto drift = firstDriftingFrame(times, 0.001, pal);
    ASSERT_TRUE(drift);
    EXPECT_EQ(drift->frame, 40);
    EXPECT_DOUBLE_EQ(drift->expectedSeconds, 1.6);
    EXPECT_NEAR(drift->actualSeconds, 1.64, 1e-9);
}

TEST(FrameRateCheck, JitterBelowHalfAFrameIsAccepted) {
    const Rational pal{25, 1};
    std::vector<int64_t> times = roundedTimes(100, pal, 0.001);
    for (size_t n = 1; n < times.size(); n += 2) times[n] += 19;
    EXPECT_FALSE(firstDriftingFrame(times, 0.001, pal));
    times[51] += 1;  // now exactly half a frame late
    EXPECT_TRUE(firstDriftingFrame(times, 0.001, pal));
}

TEST(FrameRateCheck, ASingleFrameHasNoRateToKeep) {
    const std::vector<int64_t> one{123};
    EXPECT_FALSE(firstDriftingFrame(one, 0.001, Rational{25, 1}));
}

FramePtr frameOfSize(int width) { return Frame::create(width, 16, PixelType::RGB32); }

TEST(RecentFrames, KeepsTheNewestFramesUpToItsCount) {
    RecentFrames recent(3, size_t(1) << 30);
    for (int64_t n = 0; n < 5; ++n) recent.insert(n, frameOfSize(16));
    EXPECT_EQ(recent.size(), 3u);
    EXPECT_FALSE(recent.find(1));
    EXPECT_TRUE(recent.find(2));
    EXPECT_TRUE(recent.find(4));
}

TEST(RecentFrames, DropsOldFramesOverItsByteBudgetButKeepsTheNewest) {
    const size_t oneFrame = frameOfSize(64)->byteSize();
    RecentFrames recent(10, oneFrame * 2);
    recent.insert(0, frameOfSize(64));
    recent.insert(1, frameOfSize(64));
    recent.insert(2, frameOfSize(64));
    EXPECT_FALSE(recent.find(0));
    EXPECT_TRUE(recent.find(2));
    recent.insert(3, frameOfSize(1024));  // bigger than the whole budget
    EXPECT_EQ(recent.size(), 1u);
    EXPECT_TRUE(recent.find(3));
}

TEST(RecentFrames, GivesBackTheFrameItWasGiven) {
    RecentFrames recent(4, size_t(1) << 30);
    FramePtr frame = frameOfSize(8);
    recent.insert(7, frame);
    recent.insert(7, frameOfSize(8));
    EXPECT_EQ(recent.find(7), frame);
    EXPECT_EQ(recent.size(), 1u);
}

}  // namespace
}  // namespace vistrel::engine

namespace vistrel::engine {
namespace {

TrackTimes times(int64_t first, int64_t last, int64_t frames, int64_t tickNum, int64_t tickDen) {
    TrackTimes t;
    t.firstTick = first;
    t.lastTick = last;
    t.frames = frames;
    t.tickNum = tickNum;
    t.tickDen = tickDen;
    return t;
}

TEST(TrackFrameRate, WholeTicksPerFrameGiveTheExactRate) {
    EXPECT_EQ(frameRateFromTimes(times(0, 39, 40, 1, 15)), (Rational{15, 1}));  // AVI, scale 1 rate 15
    EXPECT_EQ(frameRateFromTimes(times(0, 149, 150, 1001, 30000)), (Rational{30000, 1001}));
    EXPECT_EQ(frameRateFromTimes(times(0, 199 * 512, 200, 1, 12800)), (Rational{25, 1}));  // MP4
    EXPECT_EQ(frameRateFromTimes(times(126000, 126000 + 149 * 3003, 150, 1, 90000)), (Rational{30000, 1001}));
    EXPECT_EQ(frameRateFromTimes(times(0, 39, 40, 2, 25)), (Rational{25, 2}));
}

TEST(TrackFrameRate, MillisecondTimesSnapToTheRateTheyWereRoundedFrom) {
    EXPECT_EQ(frameRateFromTimes(times(0, 4972, 150, 1, 1000)), (Rational{30000, 1001}));
    EXPECT_EQ(frameRateFromTimes(times(0, 41708, 1001, 1, 1000)), (Rational{24000, 1001}));
    EXPECT_EQ(frameRateFromTimes(times(0, 3317, 200, 1, 1000)), (Rational{60, 1}));
    EXPECT_EQ(frameRateFromTimes(times(0, 3120, 40, 1, 1000)), (Rational{25, 2}));
}

TEST(TrackFrameRate, TimesThatFitNoCommonRateGiveNoRate) {
    EXPECT_FALSE(frameRateFromTimes(times(0, 4003, 151, 1, 1000)));  // 37.47 fps
    EXPECT_FALSE(frameRateFromTimes(times(0, 0, 1, 1, 1000)));
    EXPECT_FALSE(frameRateFromTimes(times(5, 5, 3, 1, 1000)));
}

}  // namespace
}  // namespace vistrel::engine
