// The edit is never lost: a saved edit opens again, the edit is kept while
// the window is open and offered back after a run that did not close, and
// closing asks before work that no saved script holds is lost.

#include "model/Messages.h"
#include "model/Scripts.h"
#include "ui/WindowTestKit.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>

#include <filesystem>
#include <functional>

namespace vistrel::ui::testing {
namespace {

namespace fs = std::filesystem;
namespace messages = model::messages;
using model::testing::readBytes;
using model::testing::writeBytes;
using Texts = std::vector<std::string>;

class KeepEdit : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        createWindow();
    }
    void addSwitchPoint() { click("Command4"); }  // at the intro's frame 0
    void tick(const char* box) { QTest::mouseClick(&control<QCheckBox>(box), Qt::LeftButton); }
    void setStartFrame(int row, const QString& text) {
        StartPointDialog& dialog = openStartPointDialogOn(row);
        typeInto(dialog, text);
        clickOk(dialog);
    }
    void typeOverlap(const QString& text) {
        control<QLineEdit>("Text3").selectAll();
        QTest::keyClicks(&control<QLineEdit>("Text3"), text);
    }
    void openEdit(const std::string& path)  // with its key
    {
        openEditDialog_->answers.push_back(path);
        window().show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
        QTest::keyClick(&window(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    }
    std::string editText() { return model::editScriptText(edit()); }
    std::string keptScript() const { return stateFolder() + "/edit.avs"; }
    bool keptIsCurrent() {
        return QTest::qWaitFor([&] { return readBytes(keptScript()) == editText(); }, 10'000);
    }
};

TEST_F(KeepEdit, OpenEditRefusesWhatItCannotReadAndSavesWhatItOpenedByteForByte) {
    const std::string saved = scriptFolder() + "/saved.avs";
    loadClip("/gone/a.avi");
    loadClip("/gone/b.avi");
    setStartFrame(1, "150");
    for (int i = 0; i < 2; ++i) addSwitchPoint();
    tick("Check1");
    typeOverlap("12");
    saveDialog_->answers.push_back(saved);
    click("Command3");

    createWindow();
    const std::string other = scriptFolder() + "/other.avs";
    writeBytes(other, "overlap=20\r\nAviSource(\"x.avi\")\r\n");
    openEdit(other);
    EXPECT_EQ(messages_->shown, Texts{messages::kEditNotOpenedPrefix + other + ": the script ends before line 4"});
    EXPECT_EQ(edit().clips().count(), 0) << "a script that cannot be read leaves the edit as it is";

    openEdit(saved);
    EXPECT_EQ(shownEntries(list("List2")), (Texts{"/gone/a.avi", "/gone/b.avi"}));
    EXPECT_EQ(shownEntries(list("List3")), (Texts{"0", "150"}));
    EXPECT_EQ(shownEntries(list("List1")), Texts(3, "00000000|A"));
    EXPECT_EQ(control<QLineEdit>("Text3").text(), QStringLiteral("12"));
    EXPECT_EQ(control<QLineEdit>("Text2").text(), QStringLiteral("3"));
    EXPECT_TRUE(control<QCheckBox>("Check1").isChecked());
    EXPECT_FALSE(control<QCheckBox>("Check2").isChecked());
    EXPECT_TRUE(player().errorMessage().startsWith("The clip of angle A no longer exists: /gone/a.avi"));

    saveDialog_->answers.push_back(scriptFolder() + "/again.avs");
    click("Command3");
    EXPECT_EQ(readBytes(scriptFolder() + "/again.avs"), readBytes(saved));
    EXPECT_TRUE(window().close()) << "an opened edit that is unchanged closes without a question";
    EXPECT_TRUE(questions_->asked.empty());
}

struct CloseCase {
    const char* what;
    std::function<void()> work;
    std::deque<int> answers;
    bool asks;
    bool closes;
};

TEST_F(KeepEdit, ClosingAsksOnlyWhenWorkWouldBeLost) {
    using model::questions::cancel, model::questions::save;
    const std::string saved = scriptFolder() + "/saved.avs";
    const auto saveScript = [&] {
        saveDialog_->answers.push_back(saved);
        click("Command3");
    };
    const std::vector<CloseCase> cases{
        {"clips alone", [] {}, {}, false, true},
        {"a switch point, Cancel", [&] { addSwitchPoint(); }, {cancel}, true, false},
        {"a start frame, Save and the dialog cancelled", [&] { setStartFrame(0, "7"); }, {save}, true, false},
        {"Save",
         [&] {
             addSwitchPoint();
             saveDialog_->answers.push_back(saved);
         },
         {save},
         true,
         true},
        {"saved and unchanged",
         [&] {
             addSwitchPoint();
             saveScript();
         },
         {},
         false,
         true},
        {"saved, then the overlap changed",
         [&] {
             addSwitchPoint();
             saveScript();
             typeOverlap("5");
         },
         {cancel},
         true,
         false},
    };
    for (const auto& each : cases) {
        window_.reset();  // closed or not, as in a crash: its kept edit goes with the folder
        fs::remove_all(stateFolder());
        createWindow();
        window().show();
        loadClip("/c/a.avi");
        each.work();
        ASSERT_TRUE(keptIsCurrent());
        StartPointDialog& dialog = openStartPointDialogOn(0);
        questions_->answers = each.answers;
        EXPECT_EQ(window().close(), each.closes) << each.what;
        EXPECT_EQ(questions_->asked, each.asks ? Texts{"Save the edit before closing?"} : Texts{}) << each.what;
        EXPECT_EQ(window().startPointDialog() == &dialog, !each.closes) << each.what;
        EXPECT_EQ(fs::exists(keptScript()), !each.closes) << each.what << ": a normal close removes the kept edit";
        if (each.what == std::string("Save")) {
            EXPECT_EQ(readBytes(saved), editText());
        }
        fs::remove(saved);
    }
}

TEST_F(KeepEdit, TheRealQuestionBoxDefaultsToSaveAndEscapeCancels) {
    createWindowWithRealDialogs();
    addSwitchPoint();
    QStringList shown;
    ModalAnswerer answerer(QStringLiteral("Vistrel"), [&](QWidget& window) {
        auto& box = dynamic_cast<QMessageBox&>(window);
        shown << box.text() << box.defaultButton()->text();
        for (QAbstractButton* button : box.buttons()) shown << button->text();
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    EXPECT_FALSE(window().close());
    ASSERT_TRUE(answerer.answered());
    EXPECT_EQ(shown, (QStringList{"Save the edit before closing?", "Save", "Save", "Discard", "Cancel"}));
}

// A window that goes away without closing leaves its edit, as a crash does.
// The caption names the edit's file once it has one and marks work that file
// does not hold; undo follows; the save dialog and a restore remember the file.
TEST_F(KeepEdit, TheCaptionNamesTheEditsFileAndMarksUnsavedWork) {
    const std::string saved = scriptFolder() + "/concert.avs";
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    EXPECT_EQ(window().windowTitle(), "Vistrel");
    for (int i = 0; i < 2; ++i) addSwitchPoint();
    saveDialog_->answers.push_back(saved);
    click("Command3");
    const auto shown = [&] {
        return window().windowTitle().replace("[*]", window().isWindowModified() ? "*" : "").toStdString();
    };
    EXPECT_EQ(shown(), "concert.avs \u2014 Vistrel");
    addSwitchPoint();
    EXPECT_EQ(shown(), "concert.avs* \u2014 Vistrel");
    QTest::keyClick(&window(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(shown(), "concert.avs \u2014 Vistrel") << "undone back to what the file holds";
    QTest::keyClick(&window(), Qt::Key_Y, Qt::ControlModifier);
    saveDialog_->answers.push_back(saved);
    click("Command3");
    EXPECT_EQ(saveDialog_->startsAt, saved);
    ASSERT_TRUE(keptIsCurrent());

    questionAnswers_ = {model::questions::restore};
    createWindow();
    EXPECT_EQ(window().windowFilePath().toStdString(), saved) << "a restored edit keeps its file";
    EXPECT_FALSE(window().isWindowModified());
}

TEST_F(KeepEdit, AKeptEditIsDiscardedOnRequestOrReportedWhenItCannotBeReadOrWritten) {
    addSwitchPoint();
    ASSERT_TRUE(keptIsCurrent());
    questionAnswers_ = {model::questions::discardKept};
    createWindow();
    EXPECT_EQ(questions_->asked, Texts{model::questions::kRestoreKeptEdit.text});
    EXPECT_EQ(edit().switchPoints().count(), 1);
    EXPECT_FALSE(fs::exists(keptScript())) << "Discard removes the kept edit";

    window_.reset();
    writeBytes(keptScript(), "garbage\r\n");
    createWindow();
    const std::string aside = stateFolder() + "/edit-unreadable.avs";
    EXPECT_EQ(messages_->shown, Texts{messages::kKeptEditUnreadablePrefix + keptScript() +
                                      ": line 1 could not be read: garbage. It was moved to " + aside + "."});
    EXPECT_EQ(readBytes(aside), "garbage\r\n");
    EXPECT_TRUE(questions_->asked.empty());

    window_.reset();
    fs::remove_all(stateFolder());
    writeBytes(stateFolder(), "a file where the folder should be");
    createWindow();
    addSwitchPoint();
    addSwitchPoint();
    EXPECT_EQ(messages_->shown, Texts{messages::kEditNotKeptPrefix + stateFolder() + " cannot be created."});
    EXPECT_EQ(edit().switchPoints().count(), 3) << "the editor goes on";
}

}  // namespace
}  // namespace vistrel::ui::testing
