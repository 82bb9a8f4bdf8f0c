#include "ui/WindowTestKit.h"

#include "engine/core/Frame.h"
#include "support/FrameIndexPattern.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include <cstring>
#include <utility>

namespace vistrel::ui::testing {

test::MediaRecipe angleClipRecipe(const std::string& name, int frames) {
    test::MediaRecipe recipe = test::recipes::silentAvi();
    recipe.name = name;
    recipe.frames = frames;
    return recipe;
}

bool waitUntilOpened(player::PlayerWnd& player, std::chrono::milliseconds timeout) {
    return QTest::qWaitFor([&] { return !player.isOpening(); }, static_cast<int>(timeout.count()));
}

bool waitUntilShown(player::PlayerWnd& player, std::chrono::milliseconds timeout) {
    return QTest::qWaitFor([&] { return !player.isSeeking(); }, static_cast<int>(timeout.count()));
}

void doubleClick(QWidget& widget, QPoint position) {
    QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, position);
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, position);
    QTest::mouseDClick(&widget, Qt::LeftButton, Qt::NoModifier, position);
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, position);
}

QPoint rowCentre(const QAbstractItemView& view, int row) {
    return view.visualRect(view.model()->index(row, 0)).center();
}

void clickRow(ListBox& list, int row) { QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rowCentre(list, row)); }

void doubleClickRow(ListBox& list, int row) { doubleClick(*list.viewport(), rowCentre(list, row)); }

namespace {

int frameIndexIn(const QImage& picture, int xOffset, int width) {
    const QImage shot = picture.convertToFormat(QImage::Format_RGB32);
    if (shot.isNull()) return test::kNoFrameIndex;
    auto frame = engine::Frame::create(shot.width(), shot.height(), engine::PixelType::RGB32);
    for (int y = 0; y < shot.height(); ++y)
        std::memcpy(frame->plane(0).row(y), shot.constScanLine(y), static_cast<std::size_t>(shot.width()) * 4);
    return test::readFrameIndex(*frame, xOffset, width);
}

QImage shownPicture(player::PlayerWnd& player) {
    waitUntilShown(player);
    return player.grab(player.pictureRect()).toImage();
}

}  // namespace

int shownFrameIndex(player::PlayerWnd& player) {
    const QImage picture = shownPicture(player);
    return frameIndexIn(picture, 0, picture.width());
}

int shownColumnIndex(player::PlayerWnd& player, int column) {
    constexpr int kColumns = 4;
    const QImage picture = shownPicture(player);
    const int width = picture.width() / kColumns;
    return frameIndexIn(picture, column * width, width);
}

void typeInto(StartPointDialog& dialog, const QString& text) {
    auto& box = dialogControl<QLineEdit>(dialog, "Text1");
    box.selectAll();
    QTest::keyClicks(&box, text);
}

void clickJumpTo(StartPointDialog& dialog) {
    QTest::mouseClick(&dialogControl<QLabel>(dialog, "Label1"), Qt::LeftButton);
}

void clickOk(StartPointDialog& dialog) {
    QTest::mouseClick(&dialogControl<QPushButton>(dialog, "Command1"), Qt::LeftButton);
}

std::vector<std::string> shownEntries(const QAbstractItemView& view) {
    std::vector<std::string> entries;
    for (int row = 0; row < view.model()->rowCount(); ++row)
        entries.push_back(view.model()->index(row, 0).data().toString().toStdString());
    return entries;
}

// ---- ModalAnswerer ----

namespace {
constexpr int kPollMilliseconds = 20;
constexpr qint64 kGiveUpMilliseconds = 30'000;
}  // namespace

ModalAnswerer::ModalAnswerer(const QString& title, Answer answer)
    : title_(title), answer_(std::move(answer)), timer_(std::make_unique<QTimer>()) {
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(timer_.get(), &QTimer::timeout, [this, started] {
        if (started->elapsed() > kGiveUpMilliseconds) {
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible()) dialog->reject();
            timer_->stop();
            return;
        }
        poll();
    });
    timer_->start(kPollMilliseconds);
}

ModalAnswerer::~ModalAnswerer() = default;

void ModalAnswerer::poll() {
    if (answered_) return;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!qobject_cast<QDialog*>(window) || !window->isVisible() || window->windowTitle() != title_) continue;
        answered_ = true;
        timer_->stop();
        QPointer<QDialog> dialog = qobject_cast<QDialog*>(window);
        answer_(*window);
        // An answer that failed half-way leaves the dialog open: close it so the test ends.
        if (dialog && dialog->isVisible()) dialog->reject();
        return;
    }
}

// ---- MainWindowTest ----

void MainWindowTest::SetUp() { ASSERT_TRUE(folder_.isValid()); }

void MainWindowTest::TearDown() {
    window_.reset();
    // Dialogs that closed themselves are deleted on the next pass of the loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The window before goes first: it holds the state folder while it exists.
void MainWindowTest::createWindow(std::optional<model::ScriptLocations> locations, bool buildPreviewProxies) {
    window_.reset();
    MainWindowSetup setup;
    setup.buildPreviewProxies = buildPreviewProxies;
    setup.locations = locations ? *locations : model::ScriptLocations::inFolder(scriptFolder());
    auto open = std::make_unique<QueuedFileDialog>();
    auto save = std::make_unique<QueuedFileDialog>();
    auto messages = std::make_unique<RecordingMessages>();
    auto openEdit = std::make_unique<QueuedFileDialog>();
    auto soundRecording = std::make_unique<QueuedFileDialog>();
    auto questions = std::make_unique<QueuedQuestions>();
    questions->answers = std::exchange(questionAnswers_, {});
    openDialog_ = open.get();
    saveDialog_ = save.get();
    messages_ = messages.get();
    openEditDialog_ = openEdit.get();
    soundRecordingDialog_ = soundRecording.get();
    questions_ = questions.get();
    setup.openDialog = std::move(open);
    setup.saveDialog = std::move(save);
    setup.messages = std::move(messages);
    setup.openEditDialog = std::move(openEdit);
    setup.soundRecordingDialog = std::move(soundRecording);
    setup.questions = std::move(questions);
    setup.stateFolder = stateFolder();
    setup.conformedFolder = scriptFolder() + "/conformed";
    window_ = std::make_unique<MainWindow>(std::move(setup));
}

void MainWindowTest::createWindowWithRealDialogs() {
    window_.reset();
    MainWindowSetup setup;
    setup.locations = model::ScriptLocations::inFolder(scriptFolder());
    setup.stateFolder = stateFolder();
    setup.conformedFolder = scriptFolder() + "/conformed";
    window_ = std::make_unique<MainWindow>(std::move(setup));
}

void MainWindowTest::click(const char* buttonName) { QTest::mouseClick(&button(buttonName), Qt::LeftButton); }

StartPointDialog& MainWindowTest::openStartPointDialogOn(int row) {
    clickRow(list("List3"), row);
    doubleClickRow(list("List3"), row);
    StartPointDialog* dialog = window().startPointDialog();
    if (!dialog) throw std::runtime_error("the start-point dialog did not open");
    return *dialog;
}

void MainWindowTest::loadClip(const std::filesystem::path& path) {
    openDialog_->answers.push_back(path.string());
    click("Command2");
}

std::vector<std::filesystem::path> MainWindowTest::generatedClips(const std::vector<std::string>& names,
                                                                  std::string& skipReason) {
    std::vector<std::filesystem::path> clips;
    for (const auto& name : names) {
        auto clip = test::testMedia(angleClipRecipe(name), &skipReason);
        if (!clip) return {};
        clips.push_back(std::filesystem::absolute(*clip));  // scripts elsewhere name them
    }
    return clips;
}

}  // namespace vistrel::ui::testing
