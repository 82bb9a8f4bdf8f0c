// What goes to the sound device: the clip's own samples from the frame shown,
// at normal speed only, and nothing at all where no device can play.
#include "player/FakeSoundOutput.h"
#include "player/SoundFeeder.h"
#include "support/IndexedClip.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

using vistrel::player::SoundFeeder;
using vistrel::player::SoundFormat;
using namespace vistrel::test;

namespace {

class SoundFeederTest : public ::testing::Test {
protected:
    std::shared_ptr<SoundLog> log = std::make_shared<SoundLog>();
    SoundFeeder feeder{std::make_unique<FakeSoundOutput>(log)};
    std::shared_ptr<IndexedClip> clip = IndexedClip::make({.audioRate = 48000, .channels = 2});
};

TEST_F(SoundFeederTest, OpensTheDeviceInTheClipsFormat) {
    feeder.start(clip, 0, 1000);
    ASSERT_TRUE(log->format);
    EXPECT_EQ(*log->format, (SoundFormat{48000, 2, vistrel::engine::SampleType::Int16}));
    EXPECT_TRUE(feeder.playing());
}

TEST_F(SoundFeederTest, StartsWithTheFirstSampleOfTheFrameShown) {
    log->bytesFree = 4 * 100;  // 100 stereo samples
    feeder.start(clip, 50, 1000);
    // Frame 50 at 25 fps begins 2 s in: sample 96000.
    const auto samples = samplesOf(*log);
    ASSERT_EQ(samples.size(), 200u);
    for (int s = 0; s < 100; ++s) {
        ASSERT_EQ(samples[2 * s], testSample(96000 + s, 0)) << s;
        ASSERT_EQ(samples[2 * s + 1], testSample(96000 + s, 1)) << s;
    }
}

TEST_F(SoundFeederTest, LaterFeedsContinueWhereTheLastOneEnded) {
    log->bytesFree = 4 * 10;
    feeder.start(clip, 0, 1000);
    feeder.feed(10);
    feeder.feed(20);
    const auto samples = samplesOf(*log);
    ASSERT_EQ(samples.size(), 60u);
    for (int s = 0; s < 30; ++s) ASSERT_EQ(samples[2 * s], testSample(s, 0)) << s;
    EXPECT_EQ(feeder.nextSample(), 30);
}

TEST_F(SoundFeederTest, NeverWritesMoreThanTheDeviceTakes) {
    log->bytesFree = 4 * 7 + 3;  // not a whole number of samples
    feeder.start(clip, 0, 1000);
    EXPECT_EQ(log->written.size(), 4u * 7);
}

TEST_F(SoundFeederTest, SilentAtAnyRateButNormal) {
    for (int rate : {0, 500, 999, 1001, 2000}) {
        feeder.start(clip, 0, rate);
        EXPECT_FALSE(feeder.playing()) << rate;
    }
    EXPECT_EQ(log->starts, 0);
}

TEST_F(SoundFeederTest, SilentForAClipWithoutSound) {
    feeder.start(IndexedClip::make(), 0, 1000);
    EXPECT_FALSE(feeder.playing());
    EXPECT_EQ(log->starts, 0);
}

TEST_F(SoundFeederTest, SilentWithoutADevice) {
    log->deviceExists = false;
    feeder.start(clip, 0, 1000);
    feeder.feed(0);
    EXPECT_FALSE(feeder.playing());
    EXPECT_TRUE(log->written.empty());
}

TEST_F(SoundFeederTest, DeviceThatFailsIsLeftAlone) {
    feeder.start(clip, 0, 1000);
    const size_t before = log->written.size();
    log->deviceFails = true;
    feeder.feed(0);
    EXPECT_FALSE(feeder.playing());
    EXPECT_EQ(log->written.size(), before);
    EXPECT_FALSE(log->running);
}

TEST_F(SoundFeederTest, FallenBehindTheClockStartsOverFromIt) {
    log->bytesFree = 4 * 100;
    feeder.start(clip, 0, 1000);
    // The UI was busy for a second: the device ran dry at sample 100.
    feeder.feed(48000);
    EXPECT_EQ(log->starts, 2);
    const auto samples = samplesOf(*log);
    ASSERT_EQ(samples.size(), 200u);
    EXPECT_EQ(samples[0], testSample(48000, 0));
    EXPECT_EQ(feeder.nextSample(), 48100);
}

TEST_F(SoundFeederTest, SmallLagIsLeftAlone) {
    log->bytesFree = 4 * 100;
    feeder.start(clip, 0, 1000);
    feeder.feed(100 + 48000 / 10);  // a tenth of a second behind
    EXPECT_EQ(log->starts, 1);
    EXPECT_EQ(feeder.nextSample(), 200);
}

TEST_F(SoundFeederTest, VolumeIsAFractionOfFull) {
    feeder.setVolume(50);
    EXPECT_DOUBLE_EQ(log->volume, 0.5);
    feeder.setVolume(250);
    EXPECT_DOUBLE_EQ(log->volume, 1.0);
}

}  // namespace
