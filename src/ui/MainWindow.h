#pragma once
// The main window `main`: the clip player across the top, the edit's lists
// and boxes below it, and one button or box per operation. It owns the edit;
// every event runs exactly one operation of the edit (or sets the player's
// rate, or opens the start-point dialog) and nothing else.

#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "model/Edit.h"
#include "model/FileDialog.h"
#include "model/MessageSink.h"
#include "model/ScriptLocations.h"
#include "ui/MainMenu.h"
#include "ui/PlayerWndControl.h"
#include "ui/StartFrameAccess.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSlider;

namespace vistrel::player {
class PlayerWnd;
}

namespace vistrel::model {
class StringListModel;
}

namespace vistrel::ui {

class ListBox;
class ProxyBuilds;
class StartPointDialog;

// What the window is built with. Empty dialogs and message sink mean the
// window's own QFileDialog and QMessageBox; tests pass stand-ins.
struct MainWindowSetup {
    model::ScriptLocations locations = model::ScriptLocations::forPlatform();
    std::unique_ptr<model::FileDialog> openDialog;
    std::unique_ptr<model::FileDialog> saveDialog;
    std::unique_ptr<model::MessageSink> messages;
    // The vistrel-render program that builds the preview proxies of loaded
    // clips in the background; empty: none are built.
    QString proxyBuilder;
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
    // The background builds of preview proxies; null when none are made.
    ProxyBuilds* proxyBuilds() const { return proxyBuilds_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createFrames();
    void createMenu();
    void buildProxies(const QString& builder);
    void showListsAndBoxes();
    void setTabOrder();
    void wireEvents();
    void wireTextBox(QLineEdit& box, model::TextField& field);
    void startUp();

    void openStartPointDialog();
    void closeStartPointDialog();

    // StartFrameAccess, for the start-point dialog.
    std::string selectedStartFrame() const override;
    void storeSelectedStartFrame(std::string text) override;

    model::Edit edit_;
    model::ScriptLocations locations_;
    std::unique_ptr<model::FileDialog> openDialog_;
    std::unique_ptr<model::FileDialog> saveDialog_;
    std::unique_ptr<model::MessageSink> messages_;
    std::optional<std::string> introFailure_;
    QPointer<StartPointDialog> startPointDialog_;

    // Children, owned by Qt; named as on the window (Command1, List2, ...).
    QWidget* clientArea_ = nullptr;
    MainMenu menu_;
    QCheckBox* fadeOutBox_ = nullptr;
    QSlider* rateSlider_ = nullptr;
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

    std::unique_ptr<PlayerWndControl> playerControl_;
};

}  // namespace vistrel::ui
