// The start-point dialog: opened from the start-frame list, following its
// player, "jump to:" and "OK", and the cases where the main window changes
// under it while it is open.

#include "ui/WindowTestKit.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>

namespace vistrel::ui::testing {
namespace {

class StartPointDialogTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        createWindow();
    }

    StartPointDialog& openOn(int row) { return openStartPointDialogOn(row); }
    static QLineEdit& textBox(StartPointDialog& dialog) { return dialogControl<QLineEdit>(dialog, "Text1"); }
    static player::PlayerWnd& dialogPlayer(StartPointDialog& dialog) {
        return dialogControl<player::PlayerWnd>(dialog, "PlayerWnd1");
    }
    static void type(StartPointDialog& dialog, const QString& text) { typeInto(dialog, text); }
    static void deleteClosedWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    std::vector<std::string> startFrames() const { return edit().startFrames().entries(); }
};

// ---- With a real clip in the dialog's player ----

class StartPointDialogWithClip : public StartPointDialogTest {
protected:
    void SetUp() override {
        StartPointDialogTest::SetUp();
        std::string reason;
        clips_ = generatedClips({"ui-angle-a"}, reason);
        if (clips_.empty()) GTEST_SKIP() << reason;
        loadClip(clips_[0]);
    }
    std::vector<std::filesystem::path> clips_;
};

TEST_F(StartPointDialogWithClip, OpensOnANewClipShowingZeroAndThatClip) {
    auto& dialog = openOn(0);
    EXPECT_EQ(textBox(dialog).text(), QStringLiteral("0"));
    EXPECT_EQ(dialogPlayer(dialog).fileName().toStdString(), clips_[0].string());
    ASSERT_TRUE(waitUntilOpened(dialogPlayer(dialog)));
    EXPECT_TRUE(dialogPlayer(dialog).isOpen());
    EXPECT_EQ(player().fileName().toStdString(), model::ScriptLocations::inFolder(scriptFolder()).introPlayerPath)
        << "the main window's player is not touched";
}

TEST_F(StartPointDialogWithClip, ThePlayersPositionReportsReplaceTheText) {
    auto& dialog = openOn(0);
    ASSERT_TRUE(waitUntilOpened(dialogPlayer(dialog)));
    type(dialog, QStringLiteral("typed"));
    QTest::keyClick(&dialogPlayer(dialog), Qt::Key_PageDown);
    QTest::keyClick(&dialogPlayer(dialog), Qt::Key_Right);
    ASSERT_TRUE(waitUntilShown(dialogPlayer(dialog)));
    EXPECT_EQ(textBox(dialog).text(), QStringLiteral("11"));
}

TEST_F(StartPointDialogWithClip, JumpToSendsTextThatIsNoNumberAndOkStoresItVerbatim) {
    auto& dialog = openOn(0);
    ASSERT_TRUE(waitUntilOpened(dialogPlayer(dialog)));
    dialogPlayer(dialog).seek(30);
    ASSERT_TRUE(waitUntilShown(dialogPlayer(dialog)));
    type(dialog, QStringLiteral("abc"));
    clickJumpTo(dialog);
    EXPECT_EQ(dialogPlayer(dialog).position(), 30);
    EXPECT_EQ(textBox(dialog).text(), QStringLiteral("abc"));
    clickOk(dialog);
    EXPECT_EQ(startFrames(), std::vector<std::string>{"abc"});
}

TEST_F(StartPointDialogWithClip, OpeningShowsTheStoredFrameButDoesNotSeekThere) {
    auto& first = openOn(0);
    type(first, QStringLiteral("120"));
    clickOk(first);
    deleteClosedWindows();

    auto& dialog = openOn(0);
    ASSERT_TRUE(waitUntilOpened(dialogPlayer(dialog)));
    EXPECT_EQ(textBox(dialog).text(), QStringLiteral("120"));
    EXPECT_EQ(dialogPlayer(dialog).position(), 0);
    clickJumpTo(dialog);
    ASSERT_TRUE(waitUntilShown(dialogPlayer(dialog)));
    EXPECT_EQ(dialogPlayer(dialog).position(), 120);
}

// ---- The dialog's life beside the main window ----

TEST_F(StartPointDialogTest, OkStoresTheTextAndClosesTheDialog) {
    loadClip("/c/a.avi");
    loadClip("/c/b.avi");
    QPointer<StartPointDialog> dialog = &openOn(1);
    type(*dialog, QStringLiteral(" 150 "));
    clickOk(*dialog);
    EXPECT_EQ(startFrames(), (std::vector<std::string>{"0", " 150 "}));
    EXPECT_EQ(edit().clips().count(), 2);
    EXPECT_EQ(window().startPointDialog(), nullptr);
    deleteClosedWindows();
    EXPECT_TRUE(dialog.isNull()) << "a closed dialog is destroyed";
}

TEST_F(StartPointDialogTest, ASecondDoubleClickKeepsTheOneDialogAndItsText) {
    loadClip("/c/a.avi");
    loadClip("/c/b.avi");
    auto& dialog = openOn(0);
    type(dialog, QStringLiteral("77"));
    auto& again = openOn(1);
    EXPECT_EQ(&again, &dialog);
    EXPECT_EQ(textBox(dialog).text(), QStringLiteral("77"));
    EXPECT_EQ(dialogPlayer(dialog).fileName(), QStringLiteral("/c/b.avi"));
    int dialogs = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (qobject_cast<StartPointDialog*>(window) && window->isVisible()) ++dialogs;
    EXPECT_EQ(dialogs, 1);
}

TEST_F(StartPointDialogTest, OkStoresIntoTheEntrySelectedWhenItIsPressed) {
    loadClip("/c/a.avi");
    loadClip("/c/b.avi");
    auto& dialog = openOn(0);
    type(dialog, QStringLiteral("55"));
    clickRow(list("List3"), 1);
    clickOk(dialog);
    EXPECT_EQ(startFrames(), (std::vector<std::string>{"0", "55"}));
}

TEST_F(StartPointDialogTest, TheCloseBoxStoresNothing) {
    loadClip("/c/a.avi");
    auto& dialog = openOn(0);
    type(dialog, QStringLiteral("99"));
    dialog.close();
    EXPECT_EQ(startFrames(), std::vector<std::string>{"0"});
    EXPECT_EQ(window().startPointDialog(), nullptr);
    deleteClosedWindows();
    EXPECT_EQ(textBox(openOn(0)).text(), QStringLiteral("0")) << "a new dialog shows the stored entry";
}

TEST_F(StartPointDialogTest, OkWithNoEntrySelectedClosesWithoutStoring) {
    doubleClick(*list("List3").viewport(), {5, 5});
    StartPointDialog* dialog = window().startPointDialog();
    ASSERT_NE(dialog, nullptr) << "a double-click on the empty list opens the dialog";
    EXPECT_TRUE(textBox(*dialog).text().isEmpty());
    EXPECT_TRUE(dialogPlayer(*dialog).fileName().isEmpty());
    type(*dialog, QStringLiteral("5"));
    clickOk(*dialog);
    EXPECT_TRUE(startFrames().empty());
    EXPECT_EQ(window().startPointDialog(), nullptr);
}

TEST_F(StartPointDialogTest, OkAfterItsClipWasRemovedStoresNothing) {
    loadClip("/c/a.avi");
    loadClip("/c/b.avi");
    auto& dialog = openOn(1);
    clickRow(list("List2"), 1);
    doubleClickRow(list("List2"), 1);
    ASSERT_EQ(edit().clips().count(), 1);
    type(dialog, QStringLiteral("300"));
    clickOk(dialog);
    EXPECT_EQ(startFrames(), std::vector<std::string>{"0"});
}

// Removing entries selects none: "OK" and a double-click act only on the
// entry the user picked, which keeps its selection at its new row.
TEST_F(StartPointDialogTest, RemovingClipsNeverSelectsAStartFrameNobodyPicked) {
    for (const char* clip : {"/c/a.avi", "/c/b.avi", "/c/c.avi"}) loadClip(clip);
    auto& dialog = openOn(1);
    for (int removal = 0; removal < 2; ++removal) {
        clickRow(list("List2"), 1);
        doubleClickRow(list("List2"), 1);
    }
    EXPECT_EQ(list("List3").selectedRow(), -1);
    type(dialog, QStringLiteral("999"));
    clickOk(dialog);
    EXPECT_EQ(startFrames(), std::vector<std::string>{"0"});

    for (const char* clip : {"/c/b.avi", "/c/c.avi"}) loadClip(clip);
    ListBox& starts = list("List3");
    starts.setFocus();  // as Tab does: a current row, nothing selected
    starts.selectionModel()->setCurrentIndex(starts.model()->index(0, 0), QItemSelectionModel::NoUpdate);
    clickRow(list("List2"), 0);
    doubleClickRow(list("List2"), 0);
    EXPECT_EQ(starts.selectedRow(), -1);
    clickRow(starts, 1);
    clickRow(list("List2"), 0);
    doubleClickRow(list("List2"), 0);
    EXPECT_EQ(starts.selectedRow(), 0) << "the picked entry, moved up one row";
}

TEST_F(StartPointDialogTest, AMinimisedDialogComesBackForTheNextClip) {
    loadClip("/c/a.avi");
    loadClip("/c/b.avi");
    auto& dialog = openOn(0);
    dialog.showMinimized();
    ASSERT_TRUE(dialog.isMinimized());
    EXPECT_EQ(&openOn(1), &dialog);
    EXPECT_FALSE(dialog.isMinimized());
}

// The program's own event loop ends once the main window closes: the open
// dialog closes with it instead of keeping the program alive.
TEST_F(StartPointDialogTest, ClosingTheMainWindowClosesTheDialogAndEndsTheProgram) {
    loadClip("/c/a.avi");
    window().show();
    QPointer<StartPointDialog> dialog = &openOn(0);
    ASSERT_TRUE(dialog->isVisible());

    constexpr int kStillRunning = 99;
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(kStillRunning); });
    giveUp.start(10'000);
    QTimer::singleShot(0, &window(), [this] { window().close(); });
    EXPECT_EQ(QApplication::exec(), 0) << "the program should end with its main window";
    giveUp.stop();

    EXPECT_FALSE(window().isVisible());
    deleteClosedWindows();
    EXPECT_TRUE(dialog.isNull());
}

}  // namespace
}  // namespace vistrel::ui::testing
