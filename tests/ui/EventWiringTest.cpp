// Each event of the main window runs its one operation, and nothing runs
// without its event: above all, the switch list seeks the player only when
// the user picks an entry, never when the edit inserts or removes one.

#include "model/Messages.h"
#include "ui/WindowTestKit.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

namespace vistrel::ui::testing {
namespace {

// A window whose player shows a generated clip, so that every seek shows in
// the player's position.
class SwitchListWiring : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        createWindow();
        std::string reason;
        const auto clips = generatedClips({"ui-angle-a"}, reason);
        if (clips.empty()) GTEST_SKIP() << reason;
        player().filename(QString::fromStdString(clips[0].string()));
        ASSERT_TRUE(waitUntilOpened(player()));
        ASSERT_TRUE(player().isOpen()) << player().errorMessage().toStdString();
    }

    // Moves the player to frame and clicks "A".
    void markAngleAAt(int frame) {
        player().seek(frame);
        waitUntilShown(player());
        click("Command4");
    }
    int64_t position() {
        waitUntilShown(player());
        return player().position();
    }
    ListBox& switchList() { return list("List1"); }
};

TEST_F(SwitchListWiring, AClickOnAnEntrySeeksToItsFrame) {
    markAngleAAt(300);
    player().seek(50);
    clickRow(switchList(), 1);
    EXPECT_EQ(position(), 300);
    clickRow(switchList(), 0);
    EXPECT_EQ(position(), 0);
}

TEST_F(SwitchListWiring, AnArrowKeySeeksToTheNewlySelectedEntry) {
    markAngleAAt(300);
    clickRow(switchList(), 0);
    QTest::keyClick(&switchList(), Qt::Key_Down);
    EXPECT_EQ(switchList().selectedRow(), 1);
    EXPECT_EQ(position(), 300);
}

TEST_F(SwitchListWiring, InsertingBeforeTheSelectedEntryDoesNotSeek) {
    markAngleAAt(300);
    clickRow(switchList(), 1);
    markAngleAAt(100);
    EXPECT_EQ(shownEntries(switchList()), (std::vector<std::string>{"00000000|A", "00000100|A", "00000300|A"}));
    EXPECT_EQ(position(), 100);
}

TEST_F(SwitchListWiring, RemovingTheSelectedEntryDoesNotSeekToItsNeighbour) {
    markAngleAAt(300);
    markAngleAAt(500);
    clickRow(switchList(), 1);
    doubleClickRow(switchList(), 1);
    EXPECT_EQ(shownEntries(switchList()), (std::vector<std::string>{"00000000|A", "00000500|A"}));
    EXPECT_EQ(position(), 300) << "only the double-click's own first click may seek";
    EXPECT_EQ(switchList().selectedRow(), -1);
    EXPECT_EQ(control<QLineEdit>("Text2").text(), QStringLiteral("2"));
    doubleClick(*switchList().viewport(), {5, switchList().viewport()->height() - 5});
    EXPECT_EQ(edit().switchPoints().count(), 2) << "a double-click below the entries finds none selected";
}

TEST_F(SwitchListWiring, ADoubleClickOnAnUnselectedEntrySeeksThereThenRemovesIt) {
    markAngleAAt(300);
    markAngleAAt(500);
    player().seek(42);
    doubleClickRow(switchList(), 2);
    EXPECT_EQ(position(), 500);
    EXPECT_EQ(shownEntries(switchList()), (std::vector<std::string>{"00000000|A", "00000300|A"}));
}

// ---- The other controls, without media ----

class ControlWiring : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        createWindow();
    }
};

TEST_F(ControlWiring, AngleButtonsBeyondTheLoadedClipsDoNothing) {
    loadClip("/clips/a.avi");
    click("Command5");
    click("Command6");
    click("Command7");
    EXPECT_EQ(edit().switchPoints().count(), 1);
    loadClip("/clips/b.avi");
    click("Command5");
    EXPECT_EQ(shownEntries(list("List1")), (std::vector<std::string>{"00000000|A", "00000000|B"}));
    EXPECT_TRUE(messages_->shown.empty());
}

// Each menu key runs its button's operation once, wherever the focus is.
TEST_F(ControlWiring, MenuKeysPressTheirButtons) {
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    control<QLineEdit>("Text3").setFocus();
    openDialog_->answers.push_back("/clips/a.avi");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(openDialog_->timesShown, 1);
    EXPECT_EQ(edit().clips().count(), 1);
    // With one clip and one switch point both operations stop at their message.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
    EXPECT_EQ(messages_->shown, (std::vector<std::string>{model::messages::kTooFewSwitchPoints,
                                                          model::messages::kTooFewClipsForPreview}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window().isVisible());
}

// Keys 1 to 4 press the angle buttons wherever the focus is, except that a
// text box with the focus types them.
TEST_F(ControlWiring, NumberKeysPressTheAngleButtonsButTypeIntoATextBox) {
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    loadClip("/clips/a.avi");
    loadClip("/clips/b.avi");
    auto& overlap = control<QLineEdit>("Text3");
    overlap.setFocus();
    overlap.selectAll();
    QTest::keyClicks(QApplication::focusWidget(), "1234");
    EXPECT_EQ(edit().overlap().text(), "1234");
    EXPECT_EQ(edit().switchPoints().count(), 1);

    for (QWidget* focus : {static_cast<QWidget*>(&list("List1")), static_cast<QWidget*>(&player())}) {
        focus->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_3);  // no third clip: nothing
    }
    EXPECT_EQ(shownEntries(list("List1")), (std::vector<std::string>{"00000000|A", "00000000|B", "00000000|B"}));
}

TEST_F(ControlWiring, ADoubleClickInTheClipListRemovesThatClipAndItsStartFrame) {
    loadClip("/clips/a.avi");
    loadClip("/clips/b.avi");
    loadClip("/clips/c.avi");
    doubleClickRow(list("List2"), 1);
    EXPECT_EQ(shownEntries(list("List2")), (std::vector<std::string>{"/clips/a.avi", "/clips/c.avi"}));
    EXPECT_EQ(edit().startFrames().count(), 2);
}

TEST_F(ControlWiring, AClickInTheClipListOnlySelects) {
    loadClip("/clips/a.avi");
    clickRow(list("List2"), 0);
    EXPECT_EQ(list("List2").selectedRow(), 0);
    EXPECT_EQ(edit().clips().count(), 1);
    EXPECT_EQ(window().startPointDialog(), nullptr);
}

TEST_F(ControlWiring, TheFadeBoxesSetAndClearTheirLines) {
    auto& fadeIn = control<QCheckBox>("Check1");
    auto& fadeOut = control<QCheckBox>("Check2");
    QTest::mouseClick(&fadeIn, Qt::LeftButton);
    EXPECT_EQ(edit().fadeInLine(), "fadein(overlap)");
    EXPECT_TRUE(edit().fadeOutLine().empty());
    QTest::mouseClick(&fadeOut, Qt::LeftButton);
    EXPECT_EQ(edit().fadeOutLine(), "fadeout(overlap)");
    QTest::mouseClick(&fadeIn, Qt::LeftButton);
    EXPECT_TRUE(edit().fadeInLine().empty());
    EXPECT_EQ(edit().fadeOutLine(), "fadeout(overlap)");
}

TEST_F(ControlWiring, TypingInTheOverlapBoxChangesTheOverlap) {
    auto& overlap = control<QLineEdit>("Text3");
    overlap.setFocus();
    overlap.selectAll();
    QTest::keyClicks(&overlap, " 12.5x");
    EXPECT_EQ(edit().overlap().text(), " 12.5x");
    QTest::keyClick(&overlap, Qt::Key_Backspace);
    EXPECT_EQ(edit().overlap().text(), " 12.5");
}

// A pasted text is cut at its first line break, as a one-line box takes
// it: nothing after the break reaches the edit or a script.
TEST_F(ControlWiring, PastedLineBreaksStayOutOfTheTextBoxes) {
    QGuiApplication::clipboard()->setText(QStringLiteral("3\r\nfadein(last)\n"));
    auto& overlap = control<QLineEdit>("Text3");
    overlap.setFocus();
    overlap.setCursorPosition(1);
    QTest::keyClick(&overlap, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit().overlap().text(), "230");
    EXPECT_EQ(overlap.cursorPosition(), 2);

    loadClip("/clips/a.avi");
    auto& dialog = openStartPointDialogOn(0);
    auto& startFrame = dialogControl<QLineEdit>(dialog, "Text1");
    startFrame.selectAll();
    QTest::keyClick(&startFrame, Qt::Key_V, Qt::ControlModifier);
    clickOk(dialog);
    EXPECT_EQ(edit().startFrames().entries(), std::vector<std::string>{"3"});
}

TEST_F(ControlWiring, TheSliderSetsThePlayersRateWhileTheIntroShows) {
    auto& slider = control<QSlider>("Slider1");
    QTest::keyClick(&slider, Qt::Key_PageDown);
    EXPECT_EQ(player().playbackRate(), slider.value());
    EXPECT_NE(slider.value(), 1000);
    QTest::keyClick(&slider, Qt::Key_Home);
    EXPECT_EQ(player().playbackRate(), 50) << "the slowest rate still plays";
    EXPECT_EQ(control<QLabel>("RateText").text(), QStringLiteral("0.05×"));
    slider.setValue(250);
    EXPECT_EQ(control<QLabel>("RateText").text(), QStringLiteral("0.25×"));
}

}  // namespace
}  // namespace vistrel::ui::testing
