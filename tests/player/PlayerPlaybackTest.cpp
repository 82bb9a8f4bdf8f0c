// Playing in time: the clock, the rate, dropped frames, the end of the clip,
// and sound at normal speed only; seeks that never decode on the UI thread.
#include "player/Playback.h"
#include "player/PlayerFixture.h"
#include "support/TestMedia.h"

#include <QCoreApplication>

#include <numeric>
#include <random>

using namespace std::chrono_literals;
using namespace vistrel::test;

namespace {

bool strictlyIncreasing(const std::vector<int>& values) {
    return std::adjacent_find(values.begin(), values.end(), std::greater_equal<>()) == values.end();
}

// On a clock of the test's: what a test sees depends on the frames the player
// was given time to prepare, not on how busy the machine is.
class Playing : public PlayerFixture {
protected:
    void SetUp() override { makePlayer(400ms, true); }
};
class Seeking : public PlayerFixture {};

TEST_F(Seeking, ASlowFrameIsShownOnceDecodedWhileTheWindowGoesOn) {
    openClip("slow.avi", {.frames = 2000, .decodeDelay = 200ms});
    PositionRecorder reports(*player);
    player->sendcommand("seek to 900");
    EXPECT_TRUE(player->isSeeking());
    EXPECT_EQ(status("position"), "0");  // the frame on the screen
    EXPECT_EQ(shownFrameIndex(*player), 0);
    ASSERT_TRUE(waitUntilShown(*player));
    EXPECT_EQ(status("position"), "900");
    EXPECT_EQ(shownFrameIndex(*player), 900);
    EXPECT_EQ(reports.positions(), std::vector<int>{900});

    // MCI's wait flag: the command returns with its frame on the screen.
    player->sendcommand("seek to 1234 wait");
    EXPECT_EQ(status("position"), "1234");
    EXPECT_EQ(shownFrameIndex(*player), 1234);
}

TEST_F(Seeking, AStormOfSeeksEndsOnTheLastOneAskedAndDecodesLittleMore) {
    auto clip = IndexedClip::make({.frames = 2000, .decodeDelay = 20ms});
    files.add("storm.avi", clip);
    player->filename("storm.avi");
    ASSERT_TRUE(waitUntilOpened(*player));
    PositionRecorder reports(*player);
    const int64_t madeBefore = clip->framesMade();
    std::mt19937 random(3);
    std::uniform_int_distribution<int> pick(1, 1999);
    int last = 0;
    for (int i = 0; i < 400; ++i) {
        player->sendcommand(QString("seek to %1").arg(last = pick(random)));
        if (i % 40 == 0) QCoreApplication::processEvents();  // some land on the way
    }
    ASSERT_TRUE(waitUntilShown(*player));
    EXPECT_EQ(status("position"), std::to_string(last));
    EXPECT_EQ(shownFrameIndex(*player), last);
    EXPECT_EQ(reports.positions().back(), last);
    // A superseded seek costs at most the frame in decoding when it came.
    EXPECT_LT(clip->framesMade() - madeBefore, 100);
    runEventLoop(100ms);
    EXPECT_EQ(shownFrameIndex(*player), last);
}

TEST_F(Playing, ShowsEveryFrameInOrderAndReportsEach) {
    openClip();
    PositionRecorder reports(*player);
    player->play();
    ASSERT_TRUE(playFor(600ms));
    player->stop();
    std::vector<int> every(15);
    std::iota(every.begin(), every.end(), 1);
    EXPECT_EQ(reports.positions(), every);
    EXPECT_EQ(status("position"), "15");
    EXPECT_EQ(shownFrameIndex(*player), 15);
    EXPECT_EQ(player->stats().shown, 15);
    EXPECT_EQ(player->stats().dropped, 0);
}

TEST_F(Playing, StopsOnTheLastFrame) {
    openClip("short.avi", {.fps = {100, 1}, .frames = 12});
    PositionRecorder reports(*player);
    player->play();
    ASSERT_TRUE(waitUntil([&] { return !player->isPriming(); }));
    clock.advance(500ms);
    ASSERT_TRUE(waitUntil([&] { return status("mode") == "stopped"; }));
    EXPECT_EQ(status("position"), "11");
    EXPECT_EQ(shownFrameIndex(*player), 11);
    ASSERT_FALSE(reports.positions().empty());
    EXPECT_EQ(reports.positions().back(), 11);
}

TEST_F(Playing, PlayOnTheLastFrameStartsOver) {
    openClip("short.avi", {.fps = {100, 1}, .frames = 12});
    player->sendcommand("seek to 11 wait");
    PositionRecorder reports(*player);
    player->play();
    ASSERT_TRUE(waitUntilShown(*player));
    ASSERT_FALSE(reports.positions().empty());
    EXPECT_EQ(reports.positions().front(), 0);
    EXPECT_EQ(status("mode"), "playing");
}

TEST_F(Playing, StopHoldsThePictureAndReportsNoMore) {
    openClip();
    player->play();
    ASSERT_TRUE(playFor(200ms));
    player->stop();
    PositionRecorder reports(*player);
    clock.advance(200ms);
    runEventLoop(100ms);
    EXPECT_EQ(status("position"), "5");
    EXPECT_TRUE(reports.positions().empty());
    EXPECT_EQ(shownFrameIndex(*player), 5);
}

TEST_F(Playing, PlayAfterStopGoesOnFromTheFrameShown) {
    openClip();
    player->sendcommand("seek to 100 wait");
    player->play();
    ASSERT_TRUE(playFor(80ms));
    player->stop();
    PositionRecorder reports(*player);
    player->play();
    ASSERT_TRUE(playFor(80ms));
    EXPECT_EQ(reports.positions(), (std::vector<int>{103, 104}));
}

TEST_F(Playing, SeekWhilePlayingGoesOnFromThere) {
    openClip();
    player->play();
    ASSERT_TRUE(playFor(120ms));
    player->sendcommand("seek to 150");
    ASSERT_TRUE(waitUntilShown(*player));
    EXPECT_EQ(status("position"), "150");
    EXPECT_EQ(shownFrameIndex(*player), 150);
    ASSERT_TRUE(playFor(200ms));
    EXPECT_EQ(status("mode"), "playing");
    EXPECT_EQ(player->position(), 155);
}

// The frame on the screen is the one the clock makes due at fps * rate / 1000,
// never ahead of it and never behind it once the frame was ready.
class PlayingAtRate : public Playing, public ::testing::WithParamInterface<int> {};

TEST_P(PlayingAtRate, ShowsTheFrameItsClockMakesDue) {
    openClip("long.avi", {.frames = 2000});
    player->rate(GetParam());
    player->play();
    EXPECT_TRUE(playFor(600ms));
}

INSTANTIATE_TEST_SUITE_P(Rates, PlayingAtRate, ::testing::Values(250, 1000, 2000, 3500));

TEST_F(Playing, RateZeroHoldsThePicture) {
    openClip();
    player->sendcommand("seek to 20 wait");
    player->rate(0);
    PositionRecorder reports(*player);
    player->play();
    ASSERT_TRUE(playFor(300ms));
    EXPECT_EQ(status("mode"), "playing");
    EXPECT_EQ(status("position"), "20");
    EXPECT_TRUE(reports.positions().empty());
    player->rate(1000);
    EXPECT_TRUE(playFor(120ms));
}

// Pictures decoded ahead do not depend on the rate: a new rate keeps them.
// (At a few thousandths of normal speed no frame falls due meanwhile.)
TEST_F(Playing, MovingTheRateSliderKeepsThePicturesDecodedAhead) {
    auto clip = IndexedClip::make();
    files.add("rate.avi", clip);
    player->filename("rate.avi");
    ASSERT_TRUE(waitUntilOpened(*player));
    // The frames made to show the first, then those read ahead.
    const int64_t full = clip->framesMade() + vistrel::player::ReadAhead::kDefaultDepth;
    player->rate(2);
    player->play();
    while (clip->framesMade() < full) runEventLoop(10ms);
    for (int rate : {3, 1, 4, 2}) player->rate(rate);
    runEventLoop(200ms);
    EXPECT_EQ(clip->framesMade(), full);
}

TEST_F(Playing, FramesNotReadyWhenTheClockPassesThemAreDropped) {
    // The clock moves ten frames at a time; each frame takes 60 ms to decode.
    openClip("slow.avi", {.frames = 2000, .decodeDelay = 60ms});
    PositionRecorder reports(*player);
    player->play();
    ASSERT_TRUE(playFor(2000ms, 400ms));
    player->stop();
    const auto stats = player->stats();
    EXPECT_GT(stats.dropped, 0);
    EXPECT_EQ(stats.shown + stats.dropped, 50);
    EXPECT_EQ(stats.shown, static_cast<int64_t>(reports.positions().size()));
    EXPECT_TRUE(strictlyIncreasing(reports.positions()));
}

TEST_F(Playing, AColdDecoderDropsNoFramesAtTheStart) {
    // The first frames after opening take longer than they are shown for;
    // the clock waits for a few to be ready before it starts.
    auto clip = IndexedClip::make({.frames = 2000, .warmUpFrames = 6, .warmUpDelay = 100ms});
    files.add("cold.avi", clip);
    player->filename("cold.avi");
    ASSERT_TRUE(waitUntilOpened(*player));
    player->play();
    ASSERT_TRUE(waitUntil([&] { return !player->isPriming(); }));
    EXPECT_GE(clip->framesMade(), 1 + vistrel::player::Playback::kPrimedFrames) << "started before its frames";
    ASSERT_TRUE(playFor(1200ms));
    EXPECT_EQ(player->stats().dropped, 0);
}

TEST_F(Playing, SwitchingFileWhilePlayingStopsOnTheNewFirstFrame) {
    openClip("a.avi");
    player->play();
    ASSERT_TRUE(playFor(120ms));
    files.add("b.avi", IndexedClip::make({.frames = 50, .indexOffset = 1000}));
    PositionRecorder reports(*player);
    player->filename("b.avi");
    EXPECT_EQ(status("position"), "0");
    EXPECT_EQ(status("mode"), "stopped");
    clock.advance(200ms);
    runEventLoop(200ms);
    EXPECT_TRUE(reports.positions().empty()) << "a report from the old file";
    EXPECT_EQ(shownFrameIndex(*player), 1000);

    player->play();
    ASSERT_TRUE(playFor(200ms));
    EXPECT_EQ(shownFrameIndex(*player), 1005);
}

TEST_F(Playing, DestroyingAPlayingPlayerEndsItsDecoding) {
    auto clip = IndexedClip::make({.decodeDelay = 30ms});
    files.add("slow.avi", clip);
    player->filename("slow.avi");
    player->play();
    runEventLoop(100ms);
    player.reset();
    const int64_t made = clip->framesMade();
    runEventLoop(150ms);
    EXPECT_EQ(clip->framesMade(), made) << "the read-ahead thread outlived its player";
}

class Sound : public PlayerFixture {
protected:
    void SetUp() override {
        makePlayer(400ms, true);
        openClip("sound.avi", {.audioRate = 48000, .channels = 2});
    }
};

TEST_F(Sound, StartsWithTheFrameShownAtNormalSpeed) {
    player->seek(50);
    sound->bytesFree = 4 * 100;
    player->play();
    ASSERT_TRUE(waitUntil([&] { return sound->starts > 0; }));  // once frames are ready
    ASSERT_EQ(sound->starts, 1);
    const auto samples = samplesOf(*sound);
    ASSERT_GE(samples.size(), 2u);
    // Frame 50 at 25 fps begins 2 s in: sample 96000.
    EXPECT_EQ(samples[0], testSample(96000, 0));
    EXPECT_EQ(samples[1], testSample(96000, 1));
}

TEST_F(Sound, KeepsFlowingWhilePlaying) {
    sound->bytesFree = 4 * 4800;  // 100 ms at a time: more than the clock needs
    player->play();
    ASSERT_TRUE(playFor(300ms));
    ASSERT_TRUE(waitUntil([&] { return samplesOf(*sound).size() > 2u * 4800 * 3; }));
    EXPECT_EQ(sound->starts, 1);
    const auto samples = samplesOf(*sound);
    for (size_t s = 0; s < samples.size() / 2; ++s) ASSERT_EQ(samples[2 * s], testSample(int64_t(s), 0)) << s;
}

TEST_F(Sound, SilentAtOtherRates) {
    player->rate(2000);
    player->play();
    runEventLoop(100ms);
    EXPECT_EQ(sound->starts, 0);
    player->rate(1000);
    EXPECT_EQ(sound->starts, 1);
    EXPECT_TRUE(sound->running);
    player->rate(500);
    EXPECT_FALSE(sound->running);
}

TEST_F(Sound, StopsWithThePicture) {
    player->play();
    player->sendcommand("pause");
    EXPECT_FALSE(sound->running);
    player->play();
    player->stop();
    EXPECT_FALSE(sound->running);
}

TEST_F(Sound, PicturePlaysOnWithoutASoundDevice) {
    sound->deviceExists = false;
    player->play();
    EXPECT_TRUE(playFor(200ms));
    EXPECT_TRUE(sound->written.empty());
}

}  // namespace
