// Every message the main window can show, when it shows it and what the
// edit looks like afterwards; one test each drives the real QMessageBox and
// the real QFileDialog.

#include "model/Messages.h"
#include "ui/WindowTestKit.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>

#include <filesystem>

namespace vistrel::ui::testing {
namespace {

namespace messages = model::messages;
using model::testing::readBytes;
using model::testing::writeBytes;

class FailureMessages : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        createWindow();
    }
    std::string savePath() const { return scriptFolder() + "/edit.avs"; }
};

TEST_F(FailureMessages, AFifthClipIsRefusedBeforeTheDialogOpens) {
    for (const char* path : {"/c/a.avi", "/c/b.avi", "/c/c.avi", "/c/d.avi"}) loadClip(path);
    openDialog_->answers.push_back("/c/e.avi");
    click("Command2");
    EXPECT_EQ(messages_->shown, std::vector<std::string>{messages::kTooManyAngles});
    EXPECT_EQ(openDialog_->timesShown, 4);
    EXPECT_EQ(edit().clips().count(), 4);
    EXPECT_EQ(edit().startFrames().count(), 4);
}

TEST_F(FailureMessages, ACancelledOpenDialogAddsNothingAndSaysNothing) {
    loadClip("/c/a.avi");
    openDialog_->answers.push_back(std::nullopt);
    click("Command2");
    EXPECT_EQ(edit().clips().count(), 1);
    EXPECT_TRUE(messages_->shown.empty());
}

TEST_F(FailureMessages, APreviewNeedsTwoClipsAndLeavesThePlayerOnTheIntro) {
    loadClip("/c/a.avi");
    click("Command1");
    EXPECT_EQ(messages_->shown, std::vector<std::string>{messages::kTooFewClipsForPreview});
    EXPECT_EQ(player().fileName().toStdString(), model::ScriptLocations::inFolder(scriptFolder()).introPlayerPath);
    EXPECT_FALSE(std::filesystem::exists(scriptFolder() + "/preview.avs"));
}

TEST_F(FailureMessages, APreviewThatCannotBeWrittenSaysWhy) {
    const std::string blocker = scriptFolder() + "/not-a-folder";
    writeBytes(blocker, "x");
    createWindow(model::ScriptLocations::inFolder(blocker + "/vistrel"));
    loadClip("/c/a.avi");
    loadClip("/c/b.avi");
    click("Command1");
    ASSERT_EQ(messages_->shown.size(), 1u);
    EXPECT_EQ(messages_->shown[0].rfind(messages::kPreviewNotWrittenPrefix, 0), 0u) << messages_->shown[0];
    EXPECT_EQ(player().fileName().toStdString(), blocker + "/vistrel/intro.avs");
}

TEST_F(FailureMessages, BuildScriptNeedsTwoSwitchPointsAndAsksForNoPath) {
    saveDialog_->answers.push_back(savePath());
    click("Command3");
    EXPECT_EQ(messages_->shown, std::vector<std::string>{messages::kTooFewSwitchPoints});
    EXPECT_EQ(saveDialog_->timesShown, 0);
    EXPECT_FALSE(std::filesystem::exists(savePath()));
}

TEST_F(FailureMessages, TheSavedMessageComesAfterTheScriptIsWritten) {
    loadClip("/c/a.avi");
    click("Command4");
    saveDialog_->answers.push_back(savePath());
    click("Command3");
    EXPECT_EQ(messages_->shown, std::vector<std::string>{messages::kScriptSaved});
    EXPECT_EQ(readBytes(savePath()).rfind("overlap=20\r\naudio=avisource(\"/c/a.avi\")\r\n", 0), 0u);
}

TEST_F(FailureMessages, ACancelledSaveDialogWritesNothingAndSaysNothing) {
    click("Command4");
    saveDialog_->answers.push_back(std::nullopt);
    click("Command3");
    EXPECT_EQ(saveDialog_->timesShown, 1);
    EXPECT_TRUE(messages_->shown.empty());
}

TEST_F(FailureMessages, AScriptThatCannotBeSavedSaysWhyAndNeverSaved) {
    click("Command4");
    saveDialog_->answers.push_back(scriptFolder() + "/no such folder/edit.avs");
    click("Command3");
    ASSERT_EQ(messages_->shown.size(), 1u);
    EXPECT_EQ(messages_->shown[0].rfind(messages::kScriptNotSavedPrefix, 0), 0u) << messages_->shown[0];
}

// ---- The real dialogs ----

// Types the name into the dialog's file name box and accepts it, as the
// user's Enter does. (QFileDialog::selectFile leaves a focused box alone.)
void chooseFile(QFileDialog& dialog, const QString& name) {
    auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(box, nullptr);
    box->setText(name);
    static_cast<QDialog&>(dialog).accept();
}

class RealDialogs : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        createWindowWithRealDialogs();
        window().show();
    }
};

TEST_F(RealDialogs, MessagesAreTitledVistrelWithOnlyOkAndNoIcon) {
    QString text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QList<QAbstractButton*> buttons;
    ModalAnswerer answerer(QStringLiteral("Vistrel"), [&](QWidget& window) {
        auto* box = qobject_cast<QMessageBox*>(&window);
        ASSERT_NE(box, nullptr);
        text = box->text();
        icon = box->icon();
        buttons = box->buttons();
        box->button(QMessageBox::Ok)->click();
    });
    click("Command3");
    ASSERT_TRUE(answerer.answered());
    EXPECT_EQ(text, QString::fromLatin1(messages::kTooFewSwitchPoints));
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(buttons.size(), 1);
}

// Several clips at once, in the order chosen; the next time the dialog
// starts in their folder with the type chosen.
TEST_F(RealDialogs, TheOpenDialogTakesSeveralClipsAndRemembersWhereAndWhatAndACancelAddsNothing) {
    const QString folder = QString::fromStdString(scriptFolder());
    for (const char* name : {"/b.mp4", "/a.mp4"}) writeBytes((folder + name).toStdString(), "not really a clip");
    QString videoFiles;
    {
        ModalAnswerer answerer(QStringLiteral("open avi"), [&](QWidget& window) {
            auto* dialog = qobject_cast<QFileDialog*>(&window);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
            ASSERT_EQ(dialog->nameFilters().size(), 3);
            EXPECT_EQ(dialog->nameFilters().front(), QStringLiteral("AVI/AVS files (*.avi *.avs)"));
            EXPECT_EQ(dialog->selectedNameFilter(), dialog->nameFilters().front());
            EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("avi"));
            videoFiles = dialog->nameFilters().at(1);
            dialog->selectNameFilter(videoFiles);
            dialog->setDirectory(folder);
            chooseFile(*dialog, QStringLiteral("\"b.mp4\" \"a.mp4\""));
        });
        click("Command2");
        ASSERT_TRUE(answerer.answered());
    }
    EXPECT_EQ(shownEntries(list("List2")),
              (std::vector<std::string>{(folder + "/b.mp4").toStdString(), (folder + "/a.mp4").toStdString()}));

    QStringList offered;
    QString filter;
    ModalAnswerer canceller(QStringLiteral("open avi"), [&](QWidget& window) {
        auto* dialog = qobject_cast<QFileDialog*>(&window);
        ASSERT_NE(dialog, nullptr);
        offered = dialog->selectedFiles();
        filter = dialog->selectedNameFilter();
        dialog->reject();
    });
    click("Command2");
    ASSERT_TRUE(canceller.answered());
    EXPECT_EQ(offered, QStringList{folder + "/b.mp4"}) << "the dialog offers the first file chosen last";
    EXPECT_EQ(filter, videoFiles);
    EXPECT_EQ(edit().clips().count(), 2);
}

TEST_F(RealDialogs, TheSaveDialogAddsItsDefaultExtension) {
    click("Command4");
    ModalAnswerer answerer(QStringLiteral("save AVS"), [&](QWidget& window) {
        auto* dialog = qobject_cast<QFileDialog*>(&window);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("AVISynth script (*.avs)")});
        chooseFile(*dialog, QString::fromStdString(scriptFolder() + "/edit"));
    });
    ModalAnswerer saved(QStringLiteral("Vistrel"), [](QWidget& window) {
        if (auto* box = qobject_cast<QMessageBox*>(&window)) box->button(QMessageBox::Ok)->click();
    });
    click("Command3");
    EXPECT_TRUE(answerer.answered());
    EXPECT_TRUE(saved.answered());
    EXPECT_TRUE(std::filesystem::exists(scriptFolder() + "/edit.avs"));
}

}  // namespace
}  // namespace vistrel::ui::testing
