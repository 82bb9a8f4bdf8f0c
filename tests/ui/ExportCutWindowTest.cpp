// File › Export cut… as a user does it: an edit opened, Ctrl+E, the real save
// dialog answered with a file of each kind; the export says nothing when
// its format holds the whole cut, and in one message what it cannot hold,
// and writes what vistrel-render --export writes for the same edit.

#include "support/FourAngleEdit.h"
#include "ui/ProgramProcess.h"
#include "ui/WindowTestKit.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>

namespace vistrel::ui::testing {
namespace {

using model::testing::readBytes;

class ExportCutWindow : public MainWindowTest {
protected:
    // Ctrl+E (or the menu's entry), the save dialog answered with path; the dialog's file types.
    QStringList exportTo(const std::string& path, bool byMenu = false) {
        QStringList types;
        ModalAnswerer answerer(QStringLiteral("export cut"), [&](QWidget& shown) {
            auto* dialog = qobject_cast<QFileDialog*>(&shown);
            ASSERT_NE(dialog, nullptr);
            types = dialog->nameFilters();
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromStdString(path));
            static_cast<QDialog*>(dialog)->accept();
        });
        if (!byMenu) QTest::keyClick(&window(), Qt::Key_E, Qt::ControlModifier);
        for (QAction* entry : window().menu().file->actions())
            if (byMenu && entry->text() == QStringLiteral("Export cut…")) entry->trigger();
        EXPECT_TRUE(answerer.answered());
        return types;
    }
};

TEST_F(ExportCutWindow, ExportsTheOpenedEditAsTheCommandLineDoesSayingWhatAFormatCannotHold) {
    std::string reason;
    const auto made = test::fourAngleEdit(scriptFolder(), reason);
    if (!made) GTEST_SKIP() << reason;
    // A window of its own for each export: its dialog offers no name chosen before.
    auto openTheEdit = [&] {
        createWindow();
        openEditDialog_->answers.push_back(made->script.string());
        window().show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
        QTest::keyClick(&window(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
        ASSERT_EQ(edit().content(), made->content);
    };
    openTheEdit();

    EXPECT_EQ(exportTo(scriptFolder() + "/cut.otio"),
              (QStringList{QStringLiteral("OpenTimelineIO (*.otio)"), QStringLiteral("Final Cut Pro XML (*.fcpxml)"),
                           QStringLiteral("CMX 3600 EDL (*.edl)"), QStringLiteral("MLT XML (Shotcut, melt) (*.mlt)"),
                           QStringLiteral("AviSynth+ script with FFMS2 (*.avs)")}));
    EXPECT_NE(readBytes(scriptFolder() + "/cut.otio").find("\"OTIO_SCHEMA\": \"Timeline.1\""), std::string::npos);
    EXPECT_TRUE(messages_->shown.empty()) << "an export that holds the whole cut says nothing";

    openTheEdit();
    exportTo(scriptFolder() + "/cut.edl", true);
    ASSERT_EQ(messages_->shown.size(), 1u);
    EXPECT_TRUE(messages_->shown[0].starts_with("cut.edl holds the cut, but not all of it:\n- Angle C (cut-c30-"))
        << messages_->shown[0];

    QDir(QString::fromStdString(scriptFolder())).mkdir(QStringLiteral("command"));
    const std::string byCommand = scriptFolder() + "/command/cut.edl";
    QProcess render;
    render.start(
        ProgramProcess::programPath(QStringLiteral("vistrel-render")),
        {QString::fromStdString(made->script.string()), QStringLiteral("--export"), QString::fromStdString(byCommand)});
    ASSERT_TRUE(render.waitForFinished(120000));
    EXPECT_EQ(readBytes(scriptFolder() + "/cut.edl"), readBytes(byCommand));
}

}  // namespace
}  // namespace vistrel::ui::testing
