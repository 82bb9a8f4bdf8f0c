// The main window's side of a separate sound recording: shown under the
// angles in the clip list (not an angle: no letter, no proxy) with its start
// point in milliseconds under their start frames; a double-click on it
// removes it, or opens its start point in the start-point dialog, where the
// recording plays with frame n at millisecond n.
#include "engine/Open.h"
#include "model/MixedRates.h"
#include "model/SoundRecording.h"
#include "model/StringListModel.h"
#include "player/PlayerWnd.h"
#include "ui/ListBox.h"
#include "ui/MainWindow.h"
#include "ui/QtPorts.h"
#include "ui/StartPointDialog.h"

#include <QConcatenateTablesProxyModel>

#include <map>
#include <memory>
#include <optional>

namespace vistrel::ui {
namespace {

// A list view's rows: the edit's list, then the recording's row.
QAbstractItemModel* withRecordingRow(QAbstractItemModel* rows, model::StringListModel* recording, QObject* parent) {
    auto* both = new QConcatenateTablesProxyModel(parent);
    both->addSourceModel(rows);
    both->addSourceModel(recording);
    return both;
}

// The recording's length in milliseconds, as the engine reads its sound.
std::int64_t soundMilliseconds(const std::string& path) {
    engine::OpenOptions options;
    options.soundOnly = true;
    const engine::VideoInfo info = engine::openClip(path, options)->info();
    if (!info.hasAudio()) throw std::runtime_error("The file has no sound.");
    return info.audioSamples * 1000 / info.audioRate;
}

}  // namespace

void MainWindow::showSoundRecordingRows() {
    // A conformed clip shows as its original file with what was done to it;
    // its script's path is the tool tip's first line.
    auto conformed = std::make_shared<std::map<std::string, std::optional<model::ConformedClip>>>();
    const auto conformedOf = [conformed](const std::string& path) -> const std::optional<model::ConformedClip>& {
        auto found = conformed->find(path);
        if (found == conformed->end()) found = conformed->emplace(path, model::readConformedClip(path)).first;
        return found->second;
    };
    auto* clips = clipsModel_ = new model::StringListModel(
        edit_.clips(), clipList_,
        [conformedOf](const std::string& path) {
            const auto& clip = conformedOf(path);
            if (!clip) return QString::fromStdString(path);
            return QString::fromStdString(clip->original) + " (" + QString::fromStdString(clip->inBrief) + ")";
        },
        [conformedOf](const std::string& path) {
            QString tip = QString::fromStdString(path);
            if (const auto& clip = conformedOf(path)) {
                QStringList done;
                for (const auto& step : clip->done) done << QString::fromStdString(step);
                tip += tr("\nmade from %1: %2").arg(QString::fromStdString(clip->original), done.join(", "));
            }
            return tip;
        });
    auto* recording = new model::StringListModel(
        edit_.soundRecording(), clipList_,
        [](const std::string& path) { return QStringLiteral("\u266A ") + QString::fromStdString(path); },
        [](const std::string& path) { return tr("The edit's sound: %1").arg(QString::fromStdString(path)); });
    clipList_->setModel(withRecordingRow(clips, recording, clipList_));
    clipList_->showPaths();
    auto* starts = new model::StringListModel(edit_.startFrames(), startFrameList_);
    // The start point in milliseconds: the narrow list shows the number, its tool tip what it is.
    auto* start = new model::StringListModel(edit_.soundStart(), startFrameList_, {}, [](const std::string& ms) {
        return tr("The edit starts %1 ms into the sound recording").arg(QString::fromStdString(ms));
    });
    startFrameList_->setModel(withRecordingRow(starts, start, startFrameList_));
}

void MainWindow::loadSoundRecording() {
    if (!soundRecordingDialog_)
        soundRecordingDialog_ =
            std::make_unique<QtFileDialog>(model::kOpenSoundRecordingDialogSetup, FileDialogPurpose::Open, this);
    edit_.loadSoundRecording(*soundRecordingDialog_, *messages_);
}

bool MainWindow::isSoundRecordingRow(int row) const {
    return !edit_.soundRecording().isEmpty() && row == edit_.clips().count();
}

// The dialog plays the recording with frame n at millisecond n, so that the
// frame it shows is the start point.
void MainWindow::listenToSoundRecording() {
    const std::string& path = edit_.soundRecording().entry(0);
    try {
        const std::string script = model::listeningScriptText(path, soundMilliseconds(path));
        if (const auto failure = locations_.write(locations_.listeningPath, script)) throw std::runtime_error(*failure);
        startPointDialog_->showClip(locations_.listeningPath);
        // It opens where the recording starts now (a start before the recording's first moment: at its start).
        if (auto* listening = startPointDialog_->findChild<player::PlayerWnd*>())
            listening->seek(std::max<std::int64_t>(0, std::stoll(edit_.soundStart().entry(0))));
    } catch (const std::exception& failure) {
        player::PlayerWnd* dialogPlayer = startPointDialog_->findChild<player::PlayerWnd*>();
        if (dialogPlayer) dialogPlayer->showError(tr("The sound recording cannot be played: %1").arg(failure.what()));
    }
}

}  // namespace vistrel::ui
