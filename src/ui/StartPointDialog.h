#pragma once
// The start-point dialog `offset`: a clip in its own player, a text box that
// follows the player's position, "jump to:" to move the player to the typed
// frame, and "OK" to store the text as the selected clip's start frame.
//
// A top-level window without owner that deletes itself when it closes (by
// "OK" or its close box); the main window keeps at most one. It keeps no copy
// of the edit: every step asks the main window when it runs.

#include <QWidget>

#include <string>

namespace vistrel::player {
class PlayerWnd;
}

class QLineEdit;
class QPushButton;

namespace vistrel::ui {

class ClickableLabel;
class StartFrameAccess;

class StartPointDialog : public QWidget {
    Q_OBJECT
public:
    // Runs the load steps: centred on the screen (expecting expectedFrame
    // around the client area), the text box showing the selected start frame.
    StartPointDialog(StartFrameAccess& mainWindow, const QMargins& expectedFrame);

    // Opens the clip in the dialog's player.
    void showClip(const std::string& path);
    // The main window is going away: from now on "OK" only closes.
    void forgetMainWindow() { mainWindow_ = nullptr; }

private:
    void createControls();
    void setTabOrder();
    void wireEvents();

    void showPosition(int frame);
    void jumpToTypedFrame();
    void storeAndClose();

    StartFrameAccess* mainWindow_;
    // Children, owned by Qt.
    player::PlayerWnd* player_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QLineEdit* startFrameBox_ = nullptr;
    ClickableLabel* jumpLabel_ = nullptr;
};

}  // namespace vistrel::ui
