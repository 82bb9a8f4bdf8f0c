// The main window's side of keeping the edit: the edit script as the edit's
// file ("build script", "Open edit…", files given on the command line, the
// question on closing), the edit kept in the state folder while the window
// is open, and its history (undo and redo).
#include "model/GivenFiles.h"
#include "model/KeptEdit.h"
#include "model/SwitchPoint.h"
#include "player/PlayerWnd.h"
#include "ui/EditKeeper.h"
#include "ui/MainWindow.h"
#include "ui/QtPorts.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>

namespace vistrel::ui {

void MainWindow::createEditKeeping(MainWindowSetup& setup) {
    openEditDialog_ = std::move(setup.openEditDialog);
    if (!openEditDialog_)
        openEditDialog_ = std::make_unique<QtFileDialog>(model::kOpenEditDialogSetup, FileDialogPurpose::Open, this);
    questions_ = std::move(setup.questions);
    if (!questions_) questions_ = std::make_unique<QtQuestionBox>(this);
    editFile_ = std::make_unique<model::EditFile>(edit_, *openEditDialog_, *saveDialog_, *questions_, *messages_);
    const std::string folder = setup.stateFolder.empty() ? model::KeptEdit::platformFolder() : setup.stateFolder;
    keeper_ = std::make_unique<EditKeeper>(edit_, folder, *questions_, *messages_);
}

// The opened edit starts as the edit at start-up does, on the intro.
void MainWindow::openEdit(model::FileDialog& dialog) {
    if (!editFile_->open(dialog)) return;
    editFileChanged();
    closeStartPointDialog();  // it showed a clip of the edit that is gone
    showIntro();
    showOpenedEdit();
}

void MainWindow::openGivenFiles(const std::vector<std::string>& paths) {
    for (const auto& opening : model::givenOpenings(paths, *messages_)) {
        model::GivenFiles given(opening.paths);
        if (opening.editScript)
            openEdit(given);
        else
            edit_.addClips(given, *messages_, angleRates_->matching());
    }
}

void MainWindow::startHearingChanges() {
    history_ = std::make_unique<model::EditHistory>(edit_);
    edit_.setChangeListener([this] { editChanged(); });
    showUndoEntries();
}

void MainWindow::editChanged() {
    keeper_->editChanged();
    history_->heard();
    showUndoEntries();
    showCaption();
}

void MainWindow::saveEdit() {
    if (editFile_->build()) editFileChanged();
}

void MainWindow::editFileChanged() {
    keeper_->keepEditFile(editFile_->path());
    showCaption();
}

// "Vistrel" for an edit that has no file yet; once it has one, its name,
// marked while there is work its file does not hold ("concert.avs* — Vistrel").
void MainWindow::showCaption() {
    const QString path = QString::fromStdString(editFile_->path());
    setWindowFilePath(path);
    setWindowTitle(path.isEmpty() ? QStringLiteral("Vistrel")
                                  : QFileInfo(path).fileName() + QStringLiteral("[*] \u2014 Vistrel"));
    setWindowModified(!path.isEmpty() && editFile_->holdsUnsavedWork());
}

// An undo or redo puts back a whole edit: the boxes that do not follow the
// edit by themselves follow it here.
void MainWindow::undo() {
    history_->undo();
    showFadeBoxes();
    showUndoEntries();
}

void MainWindow::redo() {
    history_->redo();
    showFadeBoxes();
    showUndoEntries();
}

void MainWindow::showUndoEntries() {
    undoEntry_->setEnabled(history_->canUndo());
    undoEntry_->setText(history_->canUndo() ? tr("Undo %1").arg(QString::fromStdString(history_->undoName()))
                                            : tr("Undo"));
    redoEntry_->setEnabled(history_->canRedo());
    redoEntry_->setText(history_->canRedo() ? tr("Redo %1").arg(QString::fromStdString(history_->redoName()))
                                            : tr("Redo"));
}

void MainWindow::showFadeBoxes() {
    fadeInBox_->setChecked(!edit_.fadeInLine().empty());
    fadeOutBox_->setChecked(!edit_.fadeOutLine().empty());
}

// The fade boxes follow the fade lines. A clip that no longer exists stays
// in the list by its name, and the player's card says which one it is.
void MainWindow::showOpenedEdit() {
    showFadeBoxes();
    for (int row = 0; row < edit_.clips().count(); ++row) {
        const QString clip = QString::fromStdString(edit_.clips().entry(row));
        if (QFileInfo::exists(clip)) continue;
        player_->showError(tr("The clip of angle %1 no longer exists: %2\n"
                              "Double-click it in the file list to remove it, then load it again.")
                               .arg(QChar::fromLatin1(model::angleLetter(row)), clip));
        return;
    }
}

}  // namespace vistrel::ui
