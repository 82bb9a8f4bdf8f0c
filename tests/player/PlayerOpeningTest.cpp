// Files that take a while to open (their index is being built): the player
// stays responsive, shows the progress, answers consistently meanwhile, and
// only the latest file counts.
#include "player/PlayerFixture.h"

#include <QSignalSpy>

using namespace std::chrono_literals;
using namespace vistrel::test;

namespace {

class SlowOpening : public PlayerFixture {
protected:
    Gate gate;

    void SetUp() override {
        makePlayer(20ms);
        files.add("slow.avi", IndexedClip::make(), &gate);
    }
    void TearDown() override {
        gate.release();
        player.reset();
        // The opening thread outlives the player; it must end before the gate and files go.
        vistrel::player::ClipOpener::finishAbandonedOpens();
    }

    void finishOpening() {
        gate.release();
        ASSERT_TRUE(waitUntilOpened(*player));
    }
};

TEST_F(SlowOpening, FilenameReturnsBeforeTheFileIsOpen) {
    player->filename("slow.avi");
    EXPECT_TRUE(player->isOpening());
    EXPECT_EQ(status("position"), "0");
    EXPECT_EQ(status("length"), "0");
    EXPECT_EQ(status("mode"), "stopped");
    finishOpening();
    EXPECT_EQ(status("length"), "200");
    EXPECT_EQ(shownFrameIndex(*player), 0);
}

TEST_F(SlowOpening, ShowsTheIndexProgressThenThePicture) {
    player->filename("slow.avi");
    runEventLoop(50ms);
    EXPECT_EQ(player->message(), "Indexing… 42%");
    finishOpening();
    EXPECT_EQ(player->message(), "");
    EXPECT_EQ(shownFrameIndex(*player), 0);
}

// Until the file is open its length is unknown: "status position" answers
// 0, the one frame inside any clip, and the seek is shown once it is open.
struct SeekMeanwhile {
    const char* target;
    int shown;
};

class SlowOpeningSeek : public SlowOpening, public ::testing::WithParamInterface<SeekMeanwhile> {};

TEST_P(SlowOpeningSeek, IsAnsweredInsideTheClipAndThenShown) {
    PositionRecorder reports(*player);
    player->filename("slow.avi");
    player->sendcommand(QString("seek to ") + GetParam().target);
    EXPECT_EQ(status("position"), "0");
    finishOpening();
    EXPECT_EQ(status("position"), std::to_string(GetParam().shown));
    EXPECT_EQ(shownFrameIndex(*player), GetParam().shown);
    EXPECT_EQ(reports.positions(), (std::vector<int>{GetParam().shown}));
}

INSTANTIATE_TEST_SUITE_P(Targets, SlowOpeningSeek,
                         ::testing::Values(SeekMeanwhile{"30", 30}, SeekMeanwhile{"end", 199},
                                           SeekMeanwhile{"9223372036854775807", 199},
                                           SeekMeanwhile{"99999999999999999999999", 199}));

TEST_F(SlowOpening, SeekMeanwhileBeyondTheEndLandsOnTheLastFrame) {
    player->filename("slow.avi");
    player->sendcommand("seek to 5000");
    finishOpening();
    EXPECT_EQ(status("position"), "199");
}

TEST_F(SlowOpening, PlayMeanwhileStartsOnceOpen) {
    player->filename("slow.avi");
    player->play();
    EXPECT_EQ(status("mode"), "playing");
    finishOpening();
    EXPECT_TRUE(waitUntilPast(*player, 0));
    EXPECT_EQ(status("mode"), "playing");
}

TEST_F(SlowOpening, StopMeanwhileCancelsThePlay) {
    player->filename("slow.avi");
    player->play();
    player->stop();
    finishOpening();
    runEventLoop(100ms);
    EXPECT_EQ(status("mode"), "stopped");
    EXPECT_EQ(status("position"), "0");
}

TEST_F(SlowOpening, ALaterFileWinsOverAnEarlierSlowOne) {
    files.add("quick.avi", IndexedClip::make({.frames = 50, .indexOffset = 1000}));
    QSignalSpy opened(player.get(), &vistrel::player::PlayerWnd::opened);
    player->filename("slow.avi");
    player->filename("quick.avi");
    EXPECT_EQ(status("length"), "50");
    PositionRecorder reports(*player);
    gate.release();
    runEventLoop(200ms);
    EXPECT_EQ(status("length"), "50");
    EXPECT_EQ(shownFrameIndex(*player), 1000);
    EXPECT_EQ(opened.count(), 1);
    EXPECT_TRUE(reports.positions().empty());
    EXPECT_EQ(player->message(), "");
}

TEST_F(SlowOpening, ClosingAPlayerDoesNotWaitForItsOpen) {
    player->filename("slow.avi");
    player.reset();
    // The player is gone while its open is still held at the gate.
    EXPECT_TRUE(gate.holding());
    gate.release();
    vistrel::player::ClipOpener::finishAbandonedOpens();
    EXPECT_FALSE(gate.holding());
}

TEST_F(SlowOpening, FailureAfterTheWaitShowsTheCard) {
    Gate failing;
    files.add("broken.avi", nullptr, &failing);
    player->filename("broken.avi");
    EXPECT_TRUE(player->isOpening());
    failing.release();
    ASSERT_TRUE(waitUntilOpened(*player));
    EXPECT_FALSE(player->errorMessage().isEmpty());
    EXPECT_EQ(status("position"), "0");
}

TEST(OpeningErrors, AnyExceptionFromTheOpenBecomesTheCard) {
    FakeFiles files;
    files.addBroken("odd.avi", "Odd: the decoder ran out of memory");
    vistrel::player::PlaybackDependencies dependencies;
    dependencies.open = files.open();
    vistrel::player::PlayerWnd player(std::move(dependencies));
    player.resize(704, 146);
    player.filename("odd.avi");
    ASSERT_TRUE(waitUntilOpened(player));
    EXPECT_EQ(player.errorMessage(), "Odd: the decoder ran out of memory");
    EXPECT_EQ(player.sendcommand("status position"), "0");
    EXPECT_TRUE(hasRedText(player.grab().toImage()));
}

}  // namespace
