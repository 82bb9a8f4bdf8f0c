#include "ui/MainWindow.h"

#include "engine/core/VideoInfo.h"
#include "model/CutExport.h"
#include "model/EditPreview.h"
#include "model/Messages.h"
#include "model/MixedSizes.h"
#include "model/Ports.h"
#include "model/ScriptOperations.h"
#include "model/Scripts.h"
#include "model/StringListModel.h"
#include "model/SwitchPoint.h"
#include "player/PlayerWnd.h"
#include "ui/Controls.h"
#include "ui/EditKeeper.h"
#include "ui/HelpWindows.h"
#include "ui/ListBox.h"
#include "ui/MainMenu.h"
#include "ui/PreviewTimeline.h"
#include "ui/ProxyBuilds.h"
#include "ui/QtPorts.h"
#include "ui/RenderProgressDialog.h"
#include "ui/SoundMatchDialog.h"
#include "ui/StartPointDialog.h"
#include "ui/WindowLook.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QPushButton>
#include <QSlider>
#include <QtGlobal>

namespace vistrel::ui {
namespace {

// Thousandths of normal speed. The slowest still plays: a standstill at the
// slider's end would leave the player's button saying "pause" over a still picture.
constexpr int kSlowestRate = 50;
constexpr int kFastestRate = 2000;
constexpr int kStartingRate = 1000;
const QColor switchListBackground(192, 192, 192);

constexpr std::array<char, 4> kAngleLetters{'A', 'B', 'C', 'D'};

// The rate beside the slider as a multiple of normal speed: "0.25×", "1×", "1.5×".
QString rateMultipleText(int thousandths) { return QString::number(thousandths / 1000.0, 'g', 3) + QChar(0x00D7); }

}  // namespace

MainWindow::MainWindow(MainWindowSetup setup)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      locations_(std::move(setup.locations)),
      openDialog_(std::move(setup.openDialog)),
      saveDialog_(std::move(setup.saveDialog)),
      renderDialog_(std::move(setup.renderDialog)),
      exportDialog_(std::move(setup.exportDialog)),
      soundRecordingDialog_(std::move(setup.soundRecordingDialog)),
      messages_(std::move(setup.messages)) {
    if (!openDialog_)
        openDialog_ = std::make_unique<QtFileDialog>(model::kOpenClipDialogSetup, FileDialogPurpose::OpenSeveral, this);
    if (!saveDialog_)
        saveDialog_ = std::make_unique<QtFileDialog>(model::kSaveScriptDialogSetup, FileDialogPurpose::Save, this);
    if (!renderDialog_)
        renderDialog_ = std::make_unique<QtFileDialog>(model::kRenderVideoDialogSetup, FileDialogPurpose::Save, this);
    if (!exportDialog_) {
        const std::string formats = model::cutFormatFilter();
        exportDialog_ = std::make_unique<QtFileDialog>(model::FileDialogSetup{"export cut", formats, "otio"},
                                                       FileDialogPurpose::Save, this);
    }
    if (!messages_) messages_ = std::make_unique<MessageBoxSink>(this);
    createEditKeeping(setup);
    angleRates_ = std::make_unique<AngleRates>(std::move(setup.rates), *questions_, std::move(setup.conformedFolder),
                                               *messages_, this);

    setObjectName(QStringLiteral("main"));
    setWindowTitle(QStringLiteral("Vistrel"));
    setWindowIcon(vistrelIcon());
    setFont(windowFont(font()));
    createControls();
    createMenu();
    showListsAndBoxes();
    if (setup.buildPreviewProxies) buildProxies();
    setTabOrder();
    wireEvents();
    startUp();
}

MainWindow::~MainWindow() {
    edit_.setChangeListener({});
    closeStartPointDialog();
    if (render_) {
        render_->abandon();  // it would report to the message sink, which goes first
        delete render_;
    }
    if (soundMatch_) {
        soundMatch_->abandon();
        delete soundMatch_;
    }
}

StartPointDialog* MainWindow::startPointDialog() const {
    return startPointDialog_ && !startPointDialog_->isHidden() ? startPointDialog_.data() : nullptr;
}

// Later controls lie in front of earlier ones: the frames first, at the
// back, the "offset" frame in front of the "file list" frame it overlaps.
void MainWindow::createControls() {
    clientArea_ = new QWidget(this);
    clientArea_->setObjectName(QStringLiteral("clientArea"));
    clientArea_->setFixedSize(pixelSize(10755, 4740));
    createFrames();
    fadeInBox_ = placeControl<QCheckBox>(*clientArea_, "Check1", {240, 4440, 1215, 255}, QStringLiteral("fade in"));
    player_ = placeControl<player::PlayerWnd>(*clientArea_, "PlayerWnd1", {120, 120, 10560, 2190});
    player_->setAutosize(false);
    player_->setVolume(100);
    player_->setBorderstyle(0);
    playerControl_ = std::make_unique<PlayerWndControl>(*player_);
    timeLine_ = new PreviewTimeline(*player_, *playerControl_, edit_, locations_, this);

    previewButton_ =
        placeControl<QPushButton>(*clientArea_, "Command1", {3120, 4080, 855, 255}, QStringLiteral("preview"));
    buildScriptButton_ =
        placeControl<QPushButton>(*clientArea_, "Command3", {5760, 4200, 1215, 495}, QStringLiteral("build script"));
    angleButtons_[0] = placeControl<QPushButton>(*clientArea_, "Command4", {2520, 2280, 855, 255}, QStringLiteral("A"));
    angleButtons_[1] = placeControl<QPushButton>(*clientArea_, "Command5", {3840, 2280, 855, 255}, QStringLiteral("B"));
    angleButtons_[2] = placeControl<QPushButton>(*clientArea_, "Command6", {5160, 2280, 855, 255}, QStringLiteral("C"));
    angleButtons_[3] = placeControl<QPushButton>(*clientArea_, "Command7", {6480, 2280, 855, 255}, QStringLiteral("D"));
    overlapBox_ = placeControl<QLineEdit>(*clientArea_, "Text3", {8280, 4320, 615, 285});
    pointCountBox_ = placeControl<QLineEdit>(*clientArea_, "Text2", {8280, 2640, 615, 285});
    switchList_ = placeControl<ListBox>(*clientArea_, "List1", {9000, 2400, 1575, 2205});
    clipList_ = placeControl<ListBox>(*clientArea_, "List2", {120, 3360, 2175, 840});
    loadClipsButton_ =
        placeControl<QPushButton>(*clientArea_, "Command2", {120, 2640, 1335, 375}, QStringLiteral("load video clips"));
    startFrameList_ = placeControl<ListBox>(*clientArea_, "List3", {2280, 3360, 735, 840});
    rateSlider_ = placeControl<QSlider>(*clientArea_, "Slider1", {5040, 3120, 2175, 255}, Qt::Horizontal);
    rateSlider_->setRange(kSlowestRate, kFastestRate);
    rateSlider_->setSingleStep(10);
    rateSlider_->setPageStep(100);
    rateSlider_->setValue(kStartingRate);
    rateText_ =
        placeControl<QLabel>(*clientArea_, "RateText", {6135, 2880, 1200, 225}, rateMultipleText(kStartingRate));
    rateText_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fadeOutBox_ = placeControl<QCheckBox>(*clientArea_, "Check2", {1320, 4440, 1215, 255}, QStringLiteral("fade out"));
}

// The menu bar lies above the client area; the window grows by its height.
// Keys 1 to 4 press the angle buttons; a text box with the focus types them.
void MainWindow::createMenu() {
    menu_ = createMainMenu(*this);
    addButtonEntry(*menu_.file, tr("Load video clip…"), QKeySequence(Qt::CTRL | Qt::Key_O), *loadClipsButton_);
    addEntry(*menu_.file, tr("Open edit…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O),
             [this] { openEdit(*openEditDialog_); });
    addButtonEntry(*menu_.file, tr("Save edit script…"), QKeySequence(Qt::CTRL | Qt::Key_S), *buildScriptButton_);
    addEntry(*menu_.file, tr("Load sound recording…"), QKeySequence(Qt::CTRL | Qt::Key_L),
             [this] { loadSoundRecording(); });
    addEntry(*menu_.file, tr("Remove sound recording"), QKeySequence(), [this] { edit_.removeSoundRecording(); });
    addEntry(*menu_.file, tr("Render video…"), QKeySequence(Qt::CTRL | Qt::Key_R), [this] { renderVideo(); });
    addEntry(*menu_.file, tr("Export cut…"), QKeySequence(Qt::CTRL | Qt::Key_E), [this] { exportCut(); });
    menu_.file->addSeparator();
    addEntry(*menu_.file, tr("Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });
    undoEntry_ = addEntry(*menu_.edit, tr("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { undo(); });
    redoEntry_ = addEntry(*menu_.edit, tr("Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), [this] { redo(); });
    redoEntry_->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    menu_.edit->addSeparator();
    addEntry(*menu_.edit, tr("Match start frames by sound"), QKeySequence(Qt::CTRL | Qt::Key_M),
             [this] { matchStartFramesBySound(); });
    addButtonEntry(*menu_.play, tr("Preview angles"), QKeySequence(Qt::Key_F5), *previewButton_);
    addEntry(*menu_.play, tr("Preview the edit"), QKeySequence(Qt::Key_F6), [this] { previewEdit(); });
    addEntry(*menu_.play, tr("Play / pause"), QKeySequence(), [this] { player_->togglePlay(); });
    addEntry(*menu_.help, tr("Keyboard shortcuts"), QKeySequence(Qt::Key_F1),
             [this] { showKeyboardShortcuts(*this, menu_); });
    addEntry(*menu_.help, tr("About Vistrel"), QKeySequence(), [this] { showAbout(*this); });
    for (std::size_t i = 0; i < angleButtons_.size(); ++i)
        addWindowKey(*this, tr("Switch to angle %1").arg(QLatin1Char(kAngleLetters[i])),
                     QKeySequence(static_cast<int>(Qt::Key_1 + i)), *angleButtons_[i]);
    hideEmptyMenus(menu_);

    const int menuHeight = menu_.bar->sizeHint().height();
    menu_.bar->setGeometry(0, 0, clientArea_->width(), menuHeight);
    clientArea_->move(0, menuHeight);
    setFixedSize(clientArea_->width(), menuHeight + clientArea_->height());
}

// Each clip loaded gets its preview proxy, with the progress in the menu bar.
void MainWindow::buildProxies() {
    proxyBuilds_ = new ProxyBuilds(this);
    proxyBuilds_->follow(*clipsModel_);
    showProxyStatus(*proxyBuilds_, *menu_.bar);
}

void MainWindow::createFrames() {
    placeControl<QGroupBox>(*clientArea_, "Frame1", {8160, 4080, 855, 615}, QStringLiteral("overlap"));
    placeControl<QGroupBox>(*clientArea_, "Frame4", {0, 3120, 3135, 1215}, QStringLiteral("file list"));
    placeControl<QGroupBox>(*clientArea_, "Frame5", {2280, 3120, 855, 1215}, QStringLiteral("offset"));
    placeControl<QGroupBox>(*clientArea_, "Frame3", {8160, 2400, 855, 615}, QStringLiteral("index"));
    placeControl<QGroupBox>(*clientArea_, "Frame2", {4920, 2880, 2415, 615}, QStringLiteral("playback rate"));
}

// The list boxes show the edit's own lists; the text boxes follow its fields.
void MainWindow::showListsAndBoxes() {
    // Each switch point's tool tip: its frame and time on the common time line, at angle A's rate.
    switchList_->setModel(
        new model::StringListModel(edit_.switchPoints(), switchList_, {}, [this](const std::string& entry) {
            const int64_t frame = model::switchPointFrame(entry);
            const auto rate =
                edit_.clips().isEmpty() ? std::nullopt : angleRates_->matching().rates.rateOf(edit_.clips().entry(0));
            const std::string time = rate ? engine::timecodeText(frame, {rate->num, rate->den}) : std::string();
            return tr("frame %1").arg(frame) + (time.empty() ? QString() : "   " + QString::fromStdString(time));
        }));
    showSoundRecordingRows();

    QPalette grey = switchList_->palette();
    grey.setColor(QPalette::Base, switchListBackground);
    switchList_->setPalette(grey);

    overlapBox_->setText(QString::fromStdString(edit_.overlap().text()));
    pointCountBox_->setText(QString::fromStdString(edit_.pointCount().text()));
}

void MainWindow::setTabOrder() {
    const std::array<QWidget*, 16> order{
        previewButton_,   buildScriptButton_, angleButtons_[0], angleButtons_[1], angleButtons_[2],
        angleButtons_[3], overlapBox_,        pointCountBox_,   switchList_,      clipList_,
        loadClipsButton_, startFrameList_,    rateSlider_,      player_,          fadeInBox_,
        fadeOutBox_};
    for (std::size_t i = 0; i + 1 < order.size(); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
}

void MainWindow::wireEvents() {
    connect(fadeInBox_, &QCheckBox::clicked, this, [this] { edit_.fadeInToggled(checkValueOf(*fadeInBox_)); });
    connect(fadeOutBox_, &QCheckBox::clicked, this, [this] { edit_.fadeOutToggled(checkValueOf(*fadeOutBox_)); });
    connect(loadClipsButton_, &QPushButton::clicked, this,
            [this] { edit_.addClips(*openDialog_, *messages_, angleRates_->matching()); });
    for (std::size_t i = 0; i < angleButtons_.size(); ++i) {
        const char angle = kAngleLetters[i];
        connect(angleButtons_[i], &QPushButton::clicked, this,
                [this, angle] { edit_.addSwitchPoint(angle, timeLine_->control()); });
    }
    connect(switchList_, &ListBox::userSelected, this,
            [this] { edit_.selectSwitchPoint(switchList_->selectedRow(), timeLine_->control()); });
    connect(switchList_, &ListBox::userDoubleClicked, this,
            [this] { edit_.removeSwitchPoint(switchList_->selectedRow()); });
    connect(clipList_, &ListBox::userDoubleClicked, this, [this] {
        if (isSoundRecordingRow(clipList_->selectedRow()))
            edit_.removeSoundRecording();
        else
            edit_.removeClip(clipList_->selectedRow(), angleRates_->matching());
    });
    connect(startFrameList_, &ListBox::userDoubleClicked, this, &MainWindow::openStartPointDialog);
    connect(previewButton_, &QPushButton::clicked, this, [this] {
        model::ShowPreview(edit_, *playerControl_, *messages_, locations_);
        timeLine_->updateMarks();
    });
    // The marks over the preview follow the cuts and the clips.
    for (QAbstractItemModel* list : {switchList_->model(), clipList_->model()}) {
        connect(list, &QAbstractItemModel::rowsInserted, timeLine_, &PreviewTimeline::updateMarks);
        connect(list, &QAbstractItemModel::rowsRemoved, timeLine_, &PreviewTimeline::updateMarks);
    }
    connect(buildScriptButton_, &QPushButton::clicked, this, &MainWindow::saveEdit);
    // Connected after the starting value is set: only the user's changes reach the player.
    connect(rateSlider_, &QSlider::valueChanged, player_, &player::PlayerWnd::rate);
    connect(rateSlider_, &QSlider::valueChanged, rateText_,
            [this](int thousandths) { rateText_->setText(rateMultipleText(thousandths)); });
    wireTextBox(*overlapBox_, edit_.overlap());
    wireTextBox(*pointCountBox_, edit_.pointCount());
}

// Typing goes into the field; a change of the field shows in the box. The
// box is only set when it differs, so typing keeps its cursor.
void MainWindow::wireTextBox(QLineEdit& box, model::TextField& field) {
    keepToOneLine(box);
    connect(&box, &QLineEdit::textEdited, this, [&field](const QString& text) { field.setText(text.toStdString()); });
    field.setListener([&box](const std::string& text) {
        const QString shown = QString::fromStdString(text);
        if (box.text() != shown) box.setText(shown);
    });
}

void MainWindow::startUp() {
    centreOnScreen(*this, QMargins());
    edit_.initialise();
    const bool restored = keeper_->offerRestore();
    showIntro();
    if (restored) {
        editFile_->restored(keeper_->restoredEditFile());
        showOpenedEdit();
    }
    startHearingChanges();
    showCaption();
    previewButton_->setFocus();
}

void MainWindow::showIntro() {
    introFailure_ = model::ShowIntro(*playerControl_, locations_);
    if (introFailure_)
        player_->showError(tr("The intro script could not be written: %1").arg(QString::fromStdString(*introFailure_)));
}

RenderProgressDialog* MainWindow::render() const { return render_.data(); }

void MainWindow::previewEdit() {
    if (!sameSizes()) return;
    if (model::showEditPreview(edit_, *playerControl_, *messages_, locations_, timeLine_->editFrameHere()))
        timeLine_->editPreviewStarted();
}

void MainWindow::renderVideo() {
    if (render_) {
        render_->raise();
        render_->activateWindow();
        return;
    }
    if (!model::enoughSwitchPoints(edit_, *messages_) || !sameSizes()) return;
    const auto output = renderDialog_->choose();
    if (!output || output->empty()) return;
    auto script = model::writeRenderScript(edit_, *messages_, locations_);
    if (!script) return;
    render_ = new RenderProgressDialog(*this, std::move(script), QString::fromStdString(*output), *messages_);
}

void MainWindow::exportCut() { model::exportEditCut(edit_, *exportDialog_, *messages_, angleRates_->matching().rates); }

// Angles of different sizes cannot be dissolved into each other: the
// message names each size instead of the dissolve's failure.
bool MainWindow::sameSizes() {
    const auto differ = model::sizesThatDiffer(edit_.clips(), angleRates_->matching().rates);
    if (differ) messages_->showMessage(*differ);
    return !differ;
}

SoundMatchDialog* MainWindow::soundMatch() const { return soundMatch_.data(); }

void MainWindow::matchStartFramesBySound() {
    if (soundMatch_) {
        soundMatch_->raise();
        soundMatch_->activateWindow();
        return;
    }
    if (edit_.clips().count() < 2) {
        messages_->showMessage(model::messages::kTooFewClipsForSoundMatch);
        return;
    }
    const std::string recording = edit_.soundRecording().entry(0);
    soundMatch_ = new SoundMatchDialog(
        *this, edit_.clips().entries(), recording, *messages_,
        [this, recording](const std::vector<std::string>& clips, const sync::MatchedAngles& found) {
            useSoundMatch(clips, recording, found);
        });
}

// The start frames the matching found, then the offer to keep drifting clocks in step.
void MainWindow::useSoundMatch(const std::vector<std::string>& clips, const std::string& recording,
                               const sync::MatchedAngles& found) {
    std::vector<model::SoundMatchFound> angles;
    for (const sync::AngleStart& angle : found.angles)
        angles.push_back({angle.match.offsetSeconds, angle.fps.toDouble(), angle.match.confidence, angle.driftSeconds,
                          angle.startFrame, angle.match.driftPpm, model::FrameRate{angle.fps.num, angle.fps.den}});
    if (found.recording) {
        edit_.setStartFramesFromRecording(clips, recording, found.recording->startMs, angles, sync::kSureConfidence,
                                          *messages_);
        if (!angles.empty())
            edit_.offerToKeepInStep(angles, 0, sync::kSureConfidence, angles.front().rate, "the sound recording",
                                    angleRates_->matching());
        return;
    }
    edit_.setStartFramesFromSound(clips, found.fpsA.toDouble(), angles, sync::kSureConfidence, *messages_);
    edit_.offerToKeepInStep(angles, 1, sync::kSureConfidence, model::FrameRate{found.fpsA.num, found.fpsA.den},
                            "angle A", angleRates_->matching());
}

void MainWindow::openStartPointDialog() {
    if (startPointDialog()) {
        if (startPointDialog_->isMinimized()) startPointDialog_->showNormal();
        startPointDialog_->raise();
        startPointDialog_->activateWindow();
    } else {
        startPointDialog_ = new StartPointDialog(*this, frameMarginsOf(*this));  // deletes itself on close
        startPointDialog_->show();
    }
    if (isSoundRecordingRow(startFrameList_->selectedRow()))
        listenToSoundRecording();
    else
        startPointDialog_->showClip(edit_.clips().entry(startFrameList_->selectedRow()));
}

void MainWindow::closeStartPointDialog() {
    if (!startPointDialog_) return;
    startPointDialog_->forgetMainWindow();
    startPointDialog_->close();
}

// Work that no saved script holds is not closed away without a question. The
// dialog needs this window's start-frame list: it closes with it, and with
// no window left open the program ends.
void MainWindow::closeEvent(QCloseEvent* event) {
    if (!editFile_->mayClose()) {
        event->ignore();
        return;
    }
    closeStartPointDialog();
    keeper_->closedNormally();
    QWidget::closeEvent(event);
}

std::string MainWindow::selectedStartFrame() const {
    const int row = startFrameList_->selectedRow();
    return isSoundRecordingRow(row) ? edit_.soundStart().entry(0) : edit_.startFrames().entry(row);
}

void MainWindow::storeSelectedStartFrame(std::string text) {
    if (isSoundRecordingRow(startFrameList_->selectedRow()))
        edit_.setSoundStart(text, *messages_);
    else
        edit_.setStartFrame(startFrameList_->selectedRow(), std::move(text));
}

}  // namespace vistrel::ui
