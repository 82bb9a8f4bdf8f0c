#pragma once
// Driving the real windows in tests: a main window built with queued dialog
// answers and a recording message sink, scripts written to a temporary
// folder, and helpers that click, double-click and type on the real controls.

#include "model/ModelFakes.h"
#include "player/PlayerWnd.h"
#include "support/TestMedia.h"
#include "ui/ListBox.h"
#include "ui/MainWindow.h"
#include "ui/StartPointDialog.h"

#include <QAbstractItemView>
#include <QPushButton>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vistrel::ui::testing {

using model::testing::QueuedFileDialog;
using model::testing::QueuedQuestions;
using model::testing::RecordingMessages;

// A clip of its own for the window tests: FFV1 without sound, every frame
// showing its index; long enough for a preview stepped to frame 500 with a
// second angle that starts 150 frames later.
test::MediaRecipe angleClipRecipe(const std::string& name, int frames = 800);

// Runs the event loop until the player has finished opening; false on timeout.
bool waitUntilOpened(player::PlayerWnd& player, std::chrono::milliseconds timeout = std::chrono::seconds(60));
// Runs the event loop until a pending seek has shown its frame; false on timeout.
bool waitUntilShown(player::PlayerWnd& player, std::chrono::milliseconds timeout = std::chrono::seconds(60));

// A press, a release, a double-click and a release, as the platform sends
// them for a real double-click.
void doubleClick(QWidget& widget, QPoint position);
QPoint rowCentre(const QAbstractItemView& view, int row);
void clickRow(ListBox& list, int row);
void doubleClickRow(ListBox& list, int row);

// The frame index a player's picture shows once a pending seek has landed (kNoFrameIndex when none): of the
// whole picture, or of one of the preview's four side-by-side columns.
int shownFrameIndex(player::PlayerWnd& player);
int shownColumnIndex(player::PlayerWnd& player, int column);

// A control of the start-point dialog by its name on the dialog.
template <typename T>
T& dialogControl(StartPointDialog& dialog, const char* name) {
    T* found = dialog.findChild<T*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
    if (!found) throw std::runtime_error(std::string("no dialog control ") + name);
    return *found;
}
// Replaces the text in the dialog's text box by typing.
void typeInto(StartPointDialog& dialog, const QString& text);
void clickJumpTo(StartPointDialog& dialog);
void clickOk(StartPointDialog& dialog);

// The visible entries of a list view, top to bottom.
std::vector<std::string> shownEntries(const QAbstractItemView& view);

// Answers the next dialog (a QDialog) titled title from a timer, while
// the code under test runs the window's own event loop; a window nobody
// expected is closed so that the test fails instead of hanging.
class ModalAnswerer {
public:
    using Answer = std::function<void(QWidget&)>;
    ModalAnswerer(const QString& title, Answer answer);
    ~ModalAnswerer();
    bool answered() const { return answered_; }

private:
    void poll();

    QString title_;
    Answer answer_;
    bool answered_ = false;
    std::unique_ptr<QTimer> timer_;
};

// A fresh main window per test, with its dialogs answered from queues.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the window (with scripts in the temporary folder unless given;
    // building preview proxies in the background when asked).
    void createWindow(std::optional<model::ScriptLocations> locations = std::nullopt, bool buildPreviewProxies = false);
    // The same with the window's own QFileDialogs and QMessageBox.
    void createWindowWithRealDialogs();
    MainWindow& window() { return *window_; }
    const model::Edit& edit() const { return window_->edit(); }

    template <typename T>
    T& control(const char* name) {
        T* found = window_->clientArea().findChild<T*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
        if (!found) throw std::runtime_error(std::string("no control ") + name);
        return *found;
    }
    QPushButton& button(const char* name) { return control<QPushButton>(name); }
    ListBox& list(const char* name) { return control<ListBox>(name); }
    player::PlayerWnd& player() { return control<player::PlayerWnd>("PlayerWnd1"); }
    void click(const char* buttonName);
    // A click on the start-frame entry, then a double-click on it.
    StartPointDialog& openStartPointDialogOn(int row);

    // Loads clips through "load video clips", the open dialog answering path.
    void loadClip(const std::filesystem::path& path);
    // Generated clips, one per name; empty (with the reason) when they
    // cannot be made on this machine.
    static std::vector<std::filesystem::path> generatedClips(const std::vector<std::string>& names,
                                                             std::string& skipReason);
    std::string scriptFolder() const { return folder_.path().toStdString(); }
    // Where the window keeps its edit while it is open.
    std::string stateFolder() const { return scriptFolder() + "/state"; }

    QTemporaryDir folder_;
    QueuedFileDialog* openDialog_ = nullptr;
    QueuedFileDialog* saveDialog_ = nullptr;
    QueuedFileDialog* soundRecordingDialog_ = nullptr;
    QueuedFileDialog* openEditDialog_ = nullptr;
    QueuedQuestions* questions_ = nullptr;
    std::deque<int> questionAnswers_;  // for the next window's questions
    RecordingMessages* messages_ = nullptr;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace vistrel::ui::testing
