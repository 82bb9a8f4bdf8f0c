// The player's own means of moving through a clip: keys, buttons, slider,
// and a click on the picture.
#include "player/PlayerFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QThread>
#include <QToolButton>
#include <QVBoxLayout>

using namespace vistrel::test;

namespace {

class Keys : public PlayerFixture {
protected:
    void SetUp() override {
        PlayerFixture::SetUp();
        openClip();
    }
    int64_t after(Qt::Key key) {
        QTest::keyClick(player.get(), key);
        EXPECT_TRUE(waitUntilShown(*player));
        return player->position();
    }
};

TEST_F(Keys, RightAndLeftStepOneFrame) {
    EXPECT_EQ(after(Qt::Key_Right), 1);
    EXPECT_EQ(after(Qt::Key_Right), 2);
    EXPECT_EQ(after(Qt::Key_Left), 1);
    EXPECT_EQ(shownFrameIndex(*player), 1);
}

TEST_F(Keys, PageDownAndPageUpStepTenFrames) {
    EXPECT_EQ(after(Qt::Key_PageDown), 10);
    EXPECT_EQ(after(Qt::Key_PageDown), 20);
    EXPECT_EQ(after(Qt::Key_PageUp), 10);
    EXPECT_EQ(shownFrameIndex(*player), 10);
}

TEST_F(Keys, HomeAndEndGoToTheFirstAndLastFrame) {
    EXPECT_EQ(after(Qt::Key_End), 199);
    EXPECT_EQ(shownFrameIndex(*player), 199);
    EXPECT_EQ(after(Qt::Key_Home), 0);
    EXPECT_EQ(shownFrameIndex(*player), 0);
}

TEST_F(Keys, StepsStopAtTheEnds) {
    PositionRecorder reports(*player);
    EXPECT_EQ(after(Qt::Key_Left), 0);
    EXPECT_EQ(after(Qt::Key_PageUp), 0);
    player->seek(195);
    ASSERT_TRUE(waitUntilShown(*player));
    EXPECT_EQ(after(Qt::Key_PageDown), 199);
    EXPECT_EQ(after(Qt::Key_Right), 199);
    EXPECT_EQ(reports.positions(), (std::vector<int>{195, 199}));
}

TEST_F(Keys, EveryStepIsReported) {
    PositionRecorder reports(*player);
    after(Qt::Key_Right);
    after(Qt::Key_PageDown);
    after(Qt::Key_End);
    after(Qt::Key_Left);
    after(Qt::Key_Home);
    EXPECT_EQ(reports.positions(), (std::vector<int>{1, 11, 199, 198, 0}));
}

TEST_F(Keys, SpacePlaysAndPauses) {
    QTest::keyClick(player.get(), Qt::Key_Space);
    EXPECT_EQ(status("mode"), "playing");
    QTest::keyClick(player.get(), Qt::Key_Space);
    EXPECT_EQ(status("mode"), "paused");
}

TEST_F(Keys, SteppingWhilePlayingPausesOnTheSteppedFrame) {
    player->seek(50);
    player->play();
    QTest::keyClick(player.get(), Qt::Key_Right);
    EXPECT_EQ(status("mode"), "paused");
    ASSERT_TRUE(waitUntilShown(*player));
    const std::string position = status("position");
    runEventLoop(std::chrono::milliseconds(150));
    EXPECT_EQ(status("position"), position);
    EXPECT_EQ(std::to_string(shownFrameIndex(*player)), position);
}

TEST_F(Keys, OtherKeysAreLeftToTheWindow) {
    QKeyEvent event(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QCoreApplication::sendEvent(player.get(), &event);
    EXPECT_FALSE(event.isAccepted());
    EXPECT_EQ(player->position(), 0);
}

class ControlBarButtons : public PlayerFixture {
protected:
    void SetUp() override {
        PlayerFixture::SetUp();
        player->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(player.get()));
        openClip();
    }
    void click(const char* name) {
        auto* button = player->findChild<QToolButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_TRUE(waitUntilShown(*player));
    }
    QSlider* slider() { return player->findChild<QSlider*>("positionSlider"); }
    QString label() { return player->findChild<QLabel*>("positionLabel")->text(); }
};

TEST_F(ControlBarButtons, ForwardAndBackStepOneFrame) {
    click("stepForwardButton");
    click("stepForwardButton");
    EXPECT_EQ(player->position(), 2);
    click("stepBackButton");
    EXPECT_EQ(player->position(), 1);
    EXPECT_EQ(shownFrameIndex(*player), 1);
}

TEST_F(ControlBarButtons, PlayPauseToggles) {
    click("playPauseButton");
    EXPECT_EQ(status("mode"), "playing");
    click("playPauseButton");
    EXPECT_EQ(status("mode"), "paused");
}

TEST_F(ControlBarButtons, LabelShowsFrameAndCount) {
    EXPECT_EQ(label(), "0 / 200   0:00:00.00");
    player->seek(77);
    ASSERT_TRUE(waitUntilShown(*player));
    EXPECT_EQ(label(), "77 / 200   0:00:03.02") << "frame 77 at 25 fps: frame 2 of second 3";
    EXPECT_EQ(slider()->value(), 77);
    EXPECT_EQ(slider()->maximum(), 199);
}

TEST_F(ControlBarButtons, DraggingTheSliderSeeksAndReports) {
    PositionRecorder reports(*player);
    slider()->setValue(30);
    slider()->setValue(60);
    QCoreApplication::processEvents();  // the slider hands its moves on from the event loop
    ASSERT_TRUE(waitUntilShown(*player));
    // Moves made faster than they can be shown end at the last one.
    EXPECT_EQ(player->position(), 60);
    EXPECT_EQ(shownFrameIndex(*player), 60);
    ASSERT_FALSE(reports.positions().empty());
    EXPECT_EQ(reports.positions().back(), 60);
}

// While playing, a frame falls due between a move of the handle and its
// delivery: the seek still goes where the handle is, and the handle stays
// under the mouse until it is let go.
TEST_F(ControlBarButtons, ADragWhilePlayingGoesWhereTheHandleIsAndTheHandleStaysThere) {
    player->play();
    runEventLoop(std::chrono::milliseconds(200));
    slider()->setSliderDown(true);
    QThread::msleep(100);
    slider()->setSliderPosition(150);
    EXPECT_TRUE(waitUntil([&] { return player->position() >= 150; }));
    EXPECT_EQ(slider()->value(), 150);
    slider()->setSliderDown(false);
    click("stepForwardButton");
    EXPECT_EQ(slider()->value(), player->position()) << "let go, the handle follows the picture again";
}

TEST_F(ControlBarButtons, ControlsAreDisabledWithoutAFile) {
    player->filename("");
    EXPECT_FALSE(slider()->isEnabled());
    EXPECT_FALSE(player->findChild<QToolButton*>("playPauseButton")->isEnabled());
    EXPECT_EQ(label(), "0 / 0");
}

TEST(PlayerFocus, AClickOnThePictureTakesTheFocusAndDoesNothingElse) {
    FakeFiles files;
    files.add("clip.avi", IndexedClip::make());
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* other = new QLineEdit(&window);
    vistrel::player::PlaybackDependencies dependencies;
    dependencies.open = files.open();
    auto* player = new vistrel::player::PlayerWnd(std::move(dependencies), &window);
    player->setMinimumSize(320, 266);
    layout->addWidget(other);
    layout->addWidget(player);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    player->filename("clip.avi");
    player->seek(33);
    ASSERT_TRUE(waitUntilShown(*player));
    other->setFocus();
    ASSERT_TRUE(other->hasFocus());

    PositionRecorder reports(*player);
    // The click lands on the picture area, a child of the player.
    const QPoint centre = player->pictureRect().center();
    QWidget* picture = player->childAt(centre);
    ASSERT_NE(picture, nullptr);
    QTest::mouseClick(picture, Qt::LeftButton, {}, picture->mapFrom(player, centre));
    EXPECT_TRUE(player->hasFocus());
    EXPECT_EQ(player->position(), 33);
    EXPECT_EQ(player->mode(), vistrel::player::PlaybackMode::Stopped);
    EXPECT_TRUE(reports.positions().empty());

    // With the focus, the player's keys work.
    QTest::keyClick(window.windowHandle(), Qt::Key_Right);
    ASSERT_TRUE(waitUntilShown(*player));
    EXPECT_EQ(player->position(), 34);
}

}  // namespace
