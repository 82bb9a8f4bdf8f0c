// Playing in time: the clock, the rate, dropped frames, the end of the clip,
// and sound at normal speed only; seeks that never decode on the UI thread.
#include "player/PlayerFixture.h"
#include "player/Playback.h"

#include "support/TestMedia.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <random>

using namespace std::chrono_literals;
using namespace vistrel::test;

namespace {

// The frames the clock allows after `elapsed` at fps * rate / 1000.
int64_t framesDue(const QElapsedTimer& timer, int fps, int rate) {
    return timer.nsecsElapsed() * fps * rate / 1'000'000'000'000;
}

bool strictlyIncreasing(const std::vector<int>& values) {
    return std::adjacent_find(values.begin(), values.end(), std::greater_equal<>()) == values.end();
}

class Playing : public PlayerFixture {};
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
    runEventLoop(600ms);
    player->stop();
    const auto& seen = reports.positions();
    ASSERT_GE(seen.size(), 5u);
    EXPECT_TRUE(strictlyIncreasing(seen));
    EXPECT_EQ(std::to_string(seen.back()), status("position"));
    EXPECT_EQ(shownFrameIndex(*player), seen.back());
    // Every frame passed was either shown or counted as dropped.
    const auto stats = player->stats();
    EXPECT_EQ(stats.shown + stats.dropped, seen.back());
    EXPECT_EQ(stats.shown, static_cast<int64_t>(seen.size()));
}

TEST_F(Playing, StopsOnTheLastFrame) {
    openClip("short.avi", {.fps = {100, 1}, .frames = 12});
    PositionRecorder reports(*player);
    player->play();
    runEventLoop(500ms);
    EXPECT_EQ(status("mode"), "stopped");
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
    runEventLoop(200ms);
    player->stop();
    const std::string stoppedAt = status("position");
    PositionRecorder reports(*player);
    runEventLoop(200ms);
    EXPECT_EQ(status("position"), stoppedAt);
    EXPECT_TRUE(reports.positions().empty());
    EXPECT_EQ(std::to_string(shownFrameIndex(*player)), stoppedAt);
}

TEST_F(Playing, PlayAfterStopGoesOnFromTheFrameShown) {
    openClip();
    player->seek(100);
    player->play();
    runEventLoop(100ms);
    player->stop();
    const int stoppedAt = static_cast<int>(player->position());
    PositionRecorder reports(*player);
    player->play();
    runEventLoop(200ms);
    ASSERT_FALSE(reports.positions().empty());
    EXPECT_GT(reports.positions().front(), stoppedAt);
    EXPECT_LE(reports.positions().front(), stoppedAt + 3);
}

TEST_F(Playing, SeekWhilePlayingGoesOnFromThere) {
    openClip();
    player->play();
    runEventLoop(100ms);
    player->sendcommand("seek to 150");
    ASSERT_TRUE(waitUntilShown(*player));
    EXPECT_EQ(status("position"), "150");
    EXPECT_EQ(shownFrameIndex(*player), 150);
    runEventLoop(200ms);
    EXPECT_EQ(status("mode"), "playing");
    EXPECT_GT(player->position(), 150);
}

TEST_F(Playing, ClockFollowsTheFrameRate) {
    openClip("long.avi", {.frames = 2000});
    QElapsedTimer timer;
    player->play();
    timer.start();
    runEventLoop(600ms);
    const int64_t position = player->position();
    const int64_t due = framesDue(timer, 25, 1000);
    EXPECT_LE(position, due + 1);          // never ahead of the clock (started just before the timer)
    EXPECT_GE(position, due * 3 / 4 - 2);  // and not falling behind it
}

TEST_F(Playing, RateTwoThousandPlaysTwiceAsFast) {
    openClip("long.avi", {.frames = 2000});
    player->rate(2000);
    QElapsedTimer timer;
    player->play();
    timer.start();
    runEventLoop(600ms);
    const int64_t position = player->position();
    EXPECT_LE(position, framesDue(timer, 25, 2000) + 1);
    // Beyond anything normal speed could reach in the same time.
    EXPECT_GT(position, framesDue(timer, 25, 1000) + 1);
}

TEST_F(Playing, RateZeroHoldsThePicture) {
    openClip();
    player->sendcommand("seek to 20 wait");
    player->rate(0);
    PositionRecorder reports(*player);
    player->play();
    runEventLoop(300ms);
    EXPECT_EQ(status("mode"), "playing");
    EXPECT_EQ(status("position"), "20");
    EXPECT_TRUE(reports.positions().empty());
    player->rate(1000);
    runEventLoop(300ms);
    EXPECT_GT(player->position(), 20);
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

TEST_F(Playing, SlowFramesAreDroppedAndTheClockDoesNotDrift) {
    // Each frame takes longer to decode than it is shown for.
    openClip("slow.avi", {.frames = 2000, .decodeDelay = 60ms});
    PositionRecorder reports(*player);
    QElapsedTimer timer;
    player->play();
    timer.start();
    runEventLoop(2000ms);
    const int64_t position = player->position();
    const int64_t due = framesDue(timer, 25, 1000);
    player->stop();
    const auto stats = player->stats();
    EXPECT_GT(stats.dropped, 0);
    EXPECT_EQ(stats.shown + stats.dropped, position);
    EXPECT_TRUE(strictlyIncreasing(reports.positions()));
    // The clock starts at the latest kMostPriming after play; decoding one
    // frame at a time, the player would be near frame 33 by now.
    const int64_t primingFrames = vistrel::player::Playback::kMostPriming.count() * 25 / 1000;
    EXPECT_GE(position, due - primingFrames - 3);
    EXPECT_LE(position, due + 1);
}

TEST_F(Playing, AColdDecoderDropsNoFramesAtTheStart) {
    // The first frames after opening take longer than they are shown for;
    // the clock waits for a few to be ready before it starts.
    openClip("cold.avi", {.frames = 2000, .warmUpFrames = 6, .warmUpDelay = 100ms});
    player->play();
    runEventLoop(1200ms);
    EXPECT_GT(player->position(), 10);
    player->stop();
    EXPECT_EQ(player->stats().dropped, 0);
}

TEST_F(Playing, SwitchingFileWhilePlayingStopsOnTheNewFirstFrame) {
    openClip("a.avi");
    player->play();
    runEventLoop(150ms);
    files.add("b.avi", IndexedClip::make({.frames = 50, .indexOffset = 1000}));
    PositionRecorder reports(*player);
    player->filename("b.avi");
    EXPECT_EQ(status("position"), "0");
    EXPECT_EQ(status("mode"), "stopped");
    runEventLoop(200ms);
    EXPECT_TRUE(reports.positions().empty()) << "a report from the old file";
    EXPECT_EQ(shownFrameIndex(*player), 1000);

    player->play();
    runEventLoop(200ms);
    EXPECT_GT(player->position(), 0);
    EXPECT_EQ(shownFrameIndex(*player), 1000 + player->position());
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
        PlayerFixture::SetUp();
        openClip("sound.avi", {.audioRate = 48000, .channels = 2});
    }
};

TEST_F(Sound, StartsWithTheFrameShownAtNormalSpeed) {
    player->seek(50);
    sound->bytesFree = 4 * 100;
    player->play();
    for (int wait = 0; wait < 100 && sound->starts == 0; ++wait) runEventLoop(10ms);  // once frames are ready
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
    runEventLoop(300ms);
    EXPECT_EQ(sound->starts, 1);
    const auto samples = samplesOf(*sound);
    EXPECT_GT(samples.size(), 2u * 4800 * 3);
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
    runEventLoop(200ms);
    EXPECT_GT(player->position(), 0);
    EXPECT_TRUE(sound->written.empty());
}

}  // namespace
