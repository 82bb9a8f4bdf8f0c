// The members the windows rely on: opening, the MCI command texts and the
// position reports, with the picture on the screen read back each time.
#include "player/PlayerFixture.h"

#include <QSignalSpy>

using namespace vistrel::test;
using vistrel::player::PlayerWnd;

namespace {

class NoFileOpen : public PlayerFixture {};

TEST_F(NoFileOpen, StatusPositionIsZero) {
    EXPECT_EQ(status("position"), "0");
    EXPECT_EQ(status("length"), "0");
    EXPECT_EQ(status("mode"), "stopped");
}

TEST_F(NoFileOpen, CommandsChangeNothing) {
    PositionRecorder reports(*player);
    seekTo("25");
    player->play();
    EXPECT_EQ(player->sendcommand("play"), "");
    EXPECT_EQ(status("position"), "0");
    EXPECT_EQ(status("mode"), "stopped");
    EXPECT_TRUE(reports.positions().empty());
}

TEST_F(NoFileOpen, TheSettingsTheWindowsCreateItWith) {
    EXPECT_EQ(player->property("autosize").toBool(), false);
    EXPECT_EQ(player->property("volume").toInt(), 100);
    EXPECT_EQ(player->property("borderstyle").toInt(), 0);
    EXPECT_EQ(player->fileName(), "");
}

class Opening : public PlayerFixture {};

TEST_F(Opening, ShowsTheFirstFrameAtOnce) {
    files.add("clip.avi", IndexedClip::make());
    QSignalSpy opened(player.get(), &PlayerWnd::opened);
    player->filename("clip.avi");
    // A file that opens quickly is shown when filename returns.
    EXPECT_FALSE(player->isOpening());
    ASSERT_EQ(opened.count(), 1);
    EXPECT_TRUE(opened.at(0).at(0).toBool());
    EXPECT_EQ(status("position"), "0");
    EXPECT_EQ(status("length"), "200");
    EXPECT_EQ(shownFrameIndex(*player), 0);
}

TEST_F(Opening, RaisesNoPositionReport) {
    // The start-point dialog keeps the stored start frame in its box until the user moves.
    PositionRecorder reports(*player);
    openClip();
    EXPECT_TRUE(reports.positions().empty());
}

TEST_F(Opening, ANewFileStartsAtItsFirstFrameStopped) {
    openClip("a.avi");
    seekTo("120");
    player->play();
    files.add("b.avi", IndexedClip::make({.frames = 50, .indexOffset = 1000}));
    player->filename("b.avi");
    EXPECT_EQ(status("position"), "0");
    EXPECT_EQ(status("length"), "50");
    EXPECT_EQ(status("mode"), "stopped");
    EXPECT_EQ(shownFrameIndex(*player), 1000);
}

class SeekTo : public PlayerFixture {
protected:
    void SetUp() override {
        PlayerFixture::SetUp();
        openClip();
    }
};

TEST_F(SeekTo, ShowsTheFrameForwardAndBackward) {
    for (int n : {5, 6, 150, 149, 3, 199, 0, 100, 37}) {
        seekTo(QString::number(n));
        EXPECT_EQ(status("position"), std::to_string(n));
        EXPECT_EQ(shownFrameIndex(*player), n) << "after seek to " << n;
    }
}

TEST_F(SeekTo, SwitchPointTextWithLeadingZeros) {
    seekTo("00000123");
    EXPECT_EQ(status("position"), "123");
    EXPECT_EQ(shownFrameIndex(*player), 123);
}

TEST_F(SeekTo, PastTheEndShowsTheLastFrame) {
    seekTo("5000");
    EXPECT_EQ(status("position"), "199");
    EXPECT_EQ(shownFrameIndex(*player), 199);
    seekTo("99999999999999999999999");
    EXPECT_EQ(status("position"), "199");
}

TEST_F(SeekTo, BeforeTheStartShowsTheFirstFrame) {
    seekTo("50");
    seekTo("-3");
    EXPECT_EQ(status("position"), "0");
    EXPECT_EQ(shownFrameIndex(*player), 0);
}

TEST_F(SeekTo, TextThatIsNotANumberIsIgnored) {
    seekTo("40");
    PositionRecorder reports(*player);
    for (const char* text : {"abc", "", " ", "-", "x40"}) seekTo(text);
    EXPECT_EQ(status("position"), "40");
    EXPECT_EQ(shownFrameIndex(*player), 40);
    EXPECT_TRUE(reports.positions().empty());
}

TEST_F(SeekTo, ReportsTheNewPosition) {
    PositionRecorder reports(*player);
    seekTo("77");
    seekTo("9999");
    EXPECT_EQ(reports.positions(), (std::vector<int>{77, 199}));
}

TEST_F(SeekTo, SameFrameAgainReportsNothing) {
    seekTo("77");
    PositionRecorder reports(*player);
    seekTo("77");
    seekTo("0077");
    EXPECT_TRUE(reports.positions().empty());
}

TEST_F(SeekTo, UnknownCommandsAnswerEmptyAndDoNothing) {
    seekTo("12");
    for (const char* text : {"status", "status volume", "open x.avi", "close", "window handle 0", "seek 40"})
        EXPECT_EQ(player->sendcommand(text), "") << text;
    EXPECT_EQ(status("position"), "12");
    EXPECT_EQ(status("mode"), "stopped");
}

TEST_F(SeekTo, StatusModeFollowsPlayPauseAndStop) {
    EXPECT_EQ(player->sendcommand("play"), "");
    EXPECT_EQ(status("mode"), "playing");
    EXPECT_EQ(player->sendcommand("pause"), "");
    EXPECT_EQ(status("mode"), "paused");
    player->play();
    EXPECT_EQ(player->sendcommand("stop"), "");
    EXPECT_EQ(status("mode"), "stopped");
}

class Picture : public PlayerFixture {};

TEST_F(Picture, PreviewShapedClipFillsTheMainWindowPlayerExactly) {
    player->resize(704, 146);
    openClip("preview.avs", {.width = 704, .height = 120});
    EXPECT_EQ(player->pictureRect(), QRect(0, 0, 704, 120));
    EXPECT_EQ(shownFrameIndex(*player), 0);
}

TEST_F(Picture, KeepsTheAspectRatioInAnotherShape) {
    player->resize(337, 257);  // the start-point dialog's player
    openClip("clip.avi", {.width = 320, .height = 240});
    const QRect picture = player->pictureRect();
    EXPECT_EQ(picture.height(), 231);
    EXPECT_EQ(picture.width(), 308);
    EXPECT_EQ(picture.x(), (337 - 308) / 2);
    seekTo("42");
    EXPECT_EQ(shownFrameIndex(*player), 42);
}

TEST_F(Picture, Yv12ClipIsShownInColourOrder) {
    openClip("raw.avi", {.pixelType = vistrel::engine::PixelType::YV12});
    seekTo("123");
    EXPECT_EQ(shownFrameIndex(*player), 123);
}

TEST_F(Picture, FollowsAResize) {
    openClip();
    seekTo("64");
    player->resize(160, 146);
    EXPECT_EQ(player->pictureRect().size(), QSize(160, 120));
    EXPECT_EQ(shownFrameIndex(*player), 64);
}

TEST_F(Picture, AutosizeFitsThePlayerToTheClip) {
    player->setAutosize(true);
    openClip("small.avi", {.width = 176, .height = 120});
    EXPECT_EQ(player->size(), QSize(176, 146));
}

TEST_F(Picture, BorderStyleOneDrawsALineAroundThePicture) {
    player->setBorderstyle(1);
    openClip();
    EXPECT_EQ(player->pictureRect().topLeft(), QPoint(1, 1));
    EXPECT_EQ(player->pictureRect().height(), 266 - 2 - 26);
    EXPECT_EQ(shownFrameIndex(*player), 0);
}

}  // namespace
