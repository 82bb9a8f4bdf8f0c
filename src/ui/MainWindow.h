#pragma once
// The main window `main`: the clip player across the top, the edit's lists
// and boxes below it, and one button or box per operation. It owns the edit;
// every event runs exactly one operation of the edit (or sets the player's
// rate, or opens the start-point dialog) and nothing else.

#include "model/Edit.h"
#include "model/EditFile.h"
#include "model/EditHistory.h"
#include "model/Ports.h"
#include "model/ScriptLocations.h"
#include "ui/AngleRates.h"
#include "ui/MainMenu.h"
#include "ui/QtPorts.h"
#include "ui/StartFrameAccess.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace vistrel::player {
class PlayerWnd;
}

namespace vistrel::model {
class StringListModel;
}

namespace vistrel::sync {
struct MatchedAngles;
}

namespace vistrel::ui {

class EditKeeper;
class ListBox;
class PreviewTimeline;
class ProxyBuilds;
class RenderProgressDialog;
class SoundMatchDialog;
class StartPointDialog;

// What the window is built with. Empty dialogs, message sink and question
// box mean the window's own QFileDialog and QMessageBox; tests pass
// stand-ins. The edit is kept in stateFolder while the window is open.
struct MainWindowSetup {
    model::ScriptLocations locations = model::ScriptLocations::forPlatform();
    std::unique_ptr<model::FileDialog> openDialog;
    std::unique_ptr<model::FileDialog> saveDialog;
    std::unique_ptr<model::FileDialog> renderDialog;
    std::unique_ptr<model::FileDialog> exportDialog;
    std::unique_ptr<model::MessageSink> messages;
    std::unique_ptr<model::FileDialog> openEditDialog;
    std::unique_ptr<model::FileDialog> soundRecordingDialog;
    std::unique_ptr<model::QuestionBox> questions;
    std::string stateFolder;  // empty: the platform's (KeptEdit::platformFolder)
    // Angles of different rates (AngleRates.h): empty means the engine, the
    // question box above and $XDG_DATA_HOME/vistrel/conformed.
    std::unique_ptr<model::ClipRateProbe> rates;
    std::string conformedFolder;
    // Whether the preview proxies of loaded clips are built in the
    // background (by the vistrel-render beside the executable).
    bool buildPreviewProxies = false;
};

class MainWindow : public QWidget, private StartFrameAccess {
    Q_OBJECT
public:
    // Builds the window and runs its start-up: centred on the screen, the
    // edit initialised, the intro written and given to the player, the focus
    // on "preview". Showing it is the caller's step.
    explicit MainWindow(MainWindowSetup setup = {});
    ~MainWindow() override;

    const model::Edit& edit() const { return edit_; }
    // The open start-point dialog; null when none is open.
    StartPointDialog* startPointDialog() const;
    // Why the intro could not be written at start-up; empty when it was.
    const std::optional<std::string>& introFailure() const { return introFailure_; }
    // The 717 x 316 area below the menu bar that holds every control.
    QWidget& clientArea() const { return *clientArea_; }
    const MainMenu& menu() const { return menu_; }
    // The progress of the render running; null when none runs.
    RenderProgressDialog* render() const;
    const model::EditFile& editFile() const { return *editFile_; }
    // Opens the files given on the command line (GivenFiles.h): an edit
    // script as "Open edit…" does, clips as "load video clips" does.
    void openGivenFiles(const std::vector<std::string>& paths);
    // The progress of the matching by sound running; null when none runs.
    SoundMatchDialog* soundMatch() const;
    // The background builds of preview proxies; null when none are made.
    ProxyBuilds* proxyBuilds() const { return proxyBuilds_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createFrames();
    void createMenu();
    void buildProxies();
    void showListsAndBoxes();
    void setTabOrder();
    void wireEvents();
    void wireTextBox(QLineEdit& box, model::TextField& field);
    void startUp();
    void showIntro();

    // Keeping the edit (MainWindowKeeping.cpp): the edit file, the kept
    // edit, "Open edit…" and how an opened or restored edit is shown.
    void createEditKeeping(MainWindowSetup& setup);
    void openEdit(model::FileDialog& dialog);
    void showOpenedEdit();
    void showFadeBoxes();
    // "build script"; the edit's file and the caption that names it.
    void saveEdit();
    void editFileChanged();
    void showCaption();
    // Every change of the edit: kept, in the history, the undo entries named.
    void startHearingChanges();
    void editChanged();
    void undo();
    void redo();
    void showUndoEntries();

    // "Preview the edit": the edit plays where the player is now.
    void previewEdit();
    // "Render video…": asks for a file and renders the edit into it.
    void renderVideo();
    bool sameSizes();
    // "Export cut…": asks for a file and hands the cut on in its format.
    void exportCut();
    // "Match start frames by sound": matches the clips in the background,
    // then sets the start frames through the edit.
    void matchStartFramesBySound();
    void useSoundMatch(const std::vector<std::string>& clips, const std::string& recording,
                       const sync::MatchedAngles& found);

    void openStartPointDialog();
    void closeStartPointDialog();

    // The sound recording (MainWindowRecording.cpp): its rows under the
    // clips and their start frames, loading and removing it, and its start
    // point in the start-point dialog.
    void showSoundRecordingRows();
    void loadSoundRecording();
    bool isSoundRecordingRow(int row) const;
    void listenToSoundRecording();

    // StartFrameAccess, for the start-point dialog.
    std::string selectedStartFrame() const override;
    void storeSelectedStartFrame(std::string text) override;

    model::Edit edit_;
    model::ScriptLocations locations_;
    std::unique_ptr<model::FileDialog> openDialog_;
    std::unique_ptr<model::FileDialog> saveDialog_;
    std::unique_ptr<model::FileDialog> renderDialog_;
    std::unique_ptr<model::FileDialog> exportDialog_;
    std::unique_ptr<model::FileDialog> soundRecordingDialog_;
    std::unique_ptr<model::MessageSink> messages_;
    std::unique_ptr<model::FileDialog> openEditDialog_;
    std::unique_ptr<model::QuestionBox> questions_;
    std::unique_ptr<model::EditFile> editFile_;
    std::unique_ptr<EditKeeper> keeper_;
    std::unique_ptr<model::EditHistory> history_;
    QAction* undoEntry_ = nullptr;
    QAction* redoEntry_ = nullptr;
    std::unique_ptr<AngleRates> angleRates_;
    std::optional<std::string> introFailure_;
    QPointer<StartPointDialog> startPointDialog_;
    QPointer<RenderProgressDialog> render_;
    QPointer<SoundMatchDialog> soundMatch_;

    // Children, owned by Qt; named as on the window (Command1, List2, ...).
    QWidget* clientArea_ = nullptr;
    MainMenu menu_;
    QCheckBox* fadeOutBox_ = nullptr;
    QSlider* rateSlider_ = nullptr;
    QLabel* rateText_ = nullptr;  // the slider's rate as a multiple of normal speed
    ListBox* startFrameList_ = nullptr;
    QPushButton* loadClipsButton_ = nullptr;
    ListBox* clipList_ = nullptr;
    ListBox* switchList_ = nullptr;
    QLineEdit* pointCountBox_ = nullptr;
    QLineEdit* overlapBox_ = nullptr;
    std::array<QPushButton*, 4> angleButtons_{};  // "A" to "D"
    QPushButton* buildScriptButton_ = nullptr;
    QPushButton* previewButton_ = nullptr;
    player::PlayerWnd* player_ = nullptr;
    QCheckBox* fadeInBox_ = nullptr;
    ProxyBuilds* proxyBuilds_ = nullptr;
    model::StringListModel* clipsModel_ = nullptr;  // the clip list's rows without the recording's

    std::unique_ptr<PlayerWndControl> playerControl_;
    PreviewTimeline* timeLine_ = nullptr;  // child, owned by Qt
};

}  // namespace vistrel::ui
