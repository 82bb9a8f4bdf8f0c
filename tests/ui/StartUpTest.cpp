// What the main window shows and has done when it first appears.

#include "model/Scripts.h"
#include "ui/WindowTestKit.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QScreen>

namespace vistrel::ui::testing {
namespace {

using model::testing::readBytes;
using model::testing::writeBytes;

class StartUp : public MainWindowTest {};

TEST_F(StartUp, TheEditStartsWithOneSwitchPointAndEmptyLists) {
    createWindow();
    EXPECT_EQ(shownEntries(list("List1")), std::vector<std::string>{"00000000|A"});
    EXPECT_TRUE(shownEntries(list("List2")).empty());
    EXPECT_TRUE(shownEntries(list("List3")).empty());
    EXPECT_EQ(control<QLineEdit>("Text2").text(), QStringLiteral("1"));
    EXPECT_EQ(control<QLineEdit>("Text3").text(), QStringLiteral("20"));
    EXPECT_FALSE(control<QCheckBox>("Check1").isChecked());
    EXPECT_FALSE(control<QCheckBox>("Check2").isChecked());
    EXPECT_TRUE(edit().fadeInLine().empty());
    EXPECT_TRUE(edit().fadeOutLine().empty());
    EXPECT_TRUE(messages_->shown.empty());
}

TEST_F(StartUp, WritesTheIntroAndGivesItToThePlayerWithoutPlaying) {
    createWindow();
    const auto locations = model::ScriptLocations::inFolder(scriptFolder());
    EXPECT_EQ(readBytes(locations.introPath), model::introScriptText());
    EXPECT_EQ(player().fileName().toStdString(), locations.introPlayerPath);
    EXPECT_NE(player().mode(), player::PlaybackMode::Playing);
    EXPECT_FALSE(window().introFailure().has_value());
}

TEST_F(StartUp, AnIntroThatCannotBeWrittenIsNoMessageBox) {
    const std::string blocker = scriptFolder() + "/not-a-folder";
    writeBytes(blocker, "a file where the script folder should be");
    createWindow(model::ScriptLocations::inFolder(blocker + "/vistrel"));
    EXPECT_TRUE(window().introFailure().has_value());
    EXPECT_TRUE(messages_->shown.empty());
    EXPECT_EQ(player().fileName().toStdString(), blocker + "/vistrel/intro.avs");
    // The card tells why, not merely that the intro file cannot be opened.
    EXPECT_TRUE(player().errorMessage().startsWith("The intro script could not be written: "))
        << player().errorMessage().toStdString();
    EXPECT_EQ(player().sendcommand("status position"), "0");
}

TEST_F(StartUp, CentresTheWindowOnTheScreen) {
    createWindow();
    const QRect screen = window().screen()->geometry();
    // No frame is known before the first showing, so the outer size is the menu bar and the client area.
    const int height = window().height();
    EXPECT_EQ(window().pos(),
              QPoint(screen.x() + (screen.width() - 717) / 2, screen.y() + (screen.height() - height) / 2));
}

TEST_F(StartUp, ShowsWithTheFocusOnPreview) {
    createWindow();
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    EXPECT_EQ(QApplication::focusWidget(), &button("Command1"));
}

}  // namespace
}  // namespace vistrel::ui::testing
