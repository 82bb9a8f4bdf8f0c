#include "ui/WindowTestKit.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>

namespace vistrel::ui::testing {

test::MediaRecipe angleClipRecipe(const std::string& name, int frames)
{
    test::MediaRecipe recipe = test::recipes::silentAvi();
    recipe.name = name;
    recipe.frames = frames;
    return recipe;
}

bool waitUntilOpened(player::PlayerWnd& player, std::chrono::milliseconds timeout)
{
    return QTest::qWaitFor([&] { return !player.isOpening(); }, static_cast<int>(timeout.count()));
}

void doubleClick(QWidget& widget, QPoint position)
{
    QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, position);
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, position);
    QTest::mouseDClick(&widget, Qt::LeftButton, Qt::NoModifier, position);
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, position);
}

QPoint rowCentre(const QAbstractItemView& view, int row)
{
    return view.visualRect(view.model()->index(row, 0)).center();
}

void clickRow(ListBox& list, int row) { QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rowCentre(list, row)); }

void doubleClickRow(ListBox& list, int row) { doubleClick(*list.viewport(), rowCentre(list, row)); }

std::vector<std::string> shownEntries(const QAbstractItemView& view)
{
    std::vector<std::string> entries;
    for (int row = 0; row < view.model()->rowCount(); ++row)
        entries.push_back(view.model()->index(row, 0).data().toString().toStdString());
    return entries;
}

// ---- ModalAnswerer ----

namespace {
constexpr int pollMilliseconds = 20;
constexpr qint64 giveUpMilliseconds = 30'000;
}  // namespace

ModalAnswerer::ModalAnswerer(const QString& title, Answer answer)
    : title_(title), answer_(std::move(answer)), timer_(std::make_unique<QTimer>())
{
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(timer_.get(), &QTimer::timeout, [this, started] {
        if (started->elapsed() > giveUpMilliseconds) {
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible()) dialog->reject();
            timer_->stop();
            return;
        }
        poll();
    });
    timer_->start(pollMilliseconds);
}

ModalAnswerer::~ModalAnswerer() = default;

void ModalAnswerer::poll()
{
    if (answered_) return;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || window->windowTitle() != title_) continue;
        answered_ = true;
        timer_->stop();
        answer_(*window);
        return;
    }
}

// ---- MainWindowTest ----

void MainWindowTest::SetUp() { ASSERT_TRUE(folder_.isValid()); }

void MainWindowTest::TearDown()
{
    window_.reset();
    // Dialogs that closed themselves are deleted on the next pass of the loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void MainWindowTest::createWindow(std::optional<model::ScriptLocations> locations)
{
    MainWindowSetup setup;
    setup.locations = locations ? *locations : model::ScriptLocations::inFolder(scriptFolder());
    auto open = std::make_unique<QueuedFileDialog>();
    auto save = std::make_unique<QueuedFileDialog>();
    auto messages = std::make_unique<RecordingMessages>();
    openDialog_ = open.get();
    saveDialog_ = save.get();
    messages_ = messages.get();
    setup.openDialog = std::move(open);
    setup.saveDialog = std::move(save);
    setup.messages = std::move(messages);
    window_ = std::make_unique<MainWindow>(std::move(setup));
}

void MainWindowTest::click(const char* buttonName) { QTest::mouseClick(&button(buttonName), Qt::LeftButton); }

void MainWindowTest::loadClip(const std::filesystem::path& path)
{
    openDialog_->answers.push_back(path.string());
    click("Command2");
}

std::vector<std::filesystem::path> MainWindowTest::generatedClips(const std::vector<std::string>& names,
                                                                  std::string& skipReason)
{
    std::vector<std::filesystem::path> clips;
    for (const auto& name : names) {
        auto clip = test::testMedia(angleClipRecipe(name), &skipReason);
        if (!clip) return {};
        clips.push_back(*clip);
    }
    return clips;
}

}  // namespace vistrel::ui::testing
