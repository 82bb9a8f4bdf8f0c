// The whole job in the window, as a user does it: two clips with sound
// loaded, the cuts marked with the keys 2 and 1 while the preview plays (at
// rate 1000, then 2000), the edit previewed and cut once more there, then
// rendered to MP4 through the menu with the real save dialog answered, and
// the video checked against the edit script. Another editor rendering
// meanwhile, and a render's script going with it. Then a render cancelled.

#include "engine/Open.h"
#include "model/Messages.h"
#include "model/Scripts.h"
#include "ui/RenderProcess.h"
#include "ui/RenderProgressDialog.h"
#include "ui/WindowTestKit.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QSlider>

namespace vistrel::ui::testing {
namespace {

using model::testing::readBytes;
using model::testing::writeBytes;

constexpr int kClipFrames = 250;
constexpr int kOneAacFrame = 1024;

class RenderFromWindow : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        std::string reason;
        for (const char* name : {"render-a", "render-b"}) {
            test::MediaRecipe recipe = test::recipes::ffv1Avi();  // with stereo sound
            recipe.name = name;
            recipe.frames = kClipFrames;
            const auto clip = test::testMedia(recipe, &reason);
            if (!clip) GTEST_SKIP() << reason;
            clips_.push_back(std::filesystem::absolute(*clip));
        }
        createWindow();
        window().show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    }

    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
    }

    // "Render video…" by its key, the real save dialog answered with typedName
    // after the user has looked at it (meanwhile).
    void renderTo(const QString& typedName, const std::function<void(QFileDialog&)>& meanwhile = {}) {
        ModalAnswerer answerer(QStringLiteral("render video"), [&](QWidget& window) {
            auto* dialog = qobject_cast<QFileDialog*>(&window);
            ASSERT_NE(dialog, nullptr);
            if (meanwhile) meanwhile(*dialog);
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(typedName);
            static_cast<QDialog*>(dialog)->accept();
        });
        QTest::keyClick(&window(), Qt::Key_R, Qt::ControlModifier);
        ASSERT_TRUE(answerer.answered());
    }

    // A render's own files in the script folder: its script and its partial video.
    QStringList renderFiles() const {
        return QDir(QString::fromStdString(scriptFolder()))
            .entryList({QStringLiteral("render*"), QStringLiteral(".vistrel-*")}, QDir::Files | QDir::Hidden);
    }

    int64_t framesOf(const std::string& scriptText) {
        writeBytes(scriptFolder() + "/counted.avs", scriptText);
        return engine::openClip(scriptFolder() + "/counted.avs")->info().frameCount;
    }

    // Presses key once the playing preview reaches frame: the switch point
    // is the frame on the screen at that moment.
    void cutWhilePlaying(int frame, Qt::Key key, char angle) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return player().position() >= frame; }, 60'000));
        ASSERT_EQ(player().mode(), player::PlaybackMode::Playing);
        const int onScreen = shownColumnIndex(player(), 0);
        ASSERT_NE(onScreen, test::kNoFrameIndex) << "the letters leave the picture readable";
        press(key);
        EXPECT_EQ(edit().currentPositionText(), std::to_string(onScreen) + '|' + angle);
        const player::ColumnMarks& marks = player().columnMarks();
        EXPECT_EQ(marks.labels, (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
        EXPECT_EQ(marks.framed, angle - 'A') << "the angle just cut to is live";
    }

    std::vector<std::filesystem::path> clips_;
};

TEST_F(RenderFromWindow, CutWithKeysPreviewTheEditAndRenderItToMp4) {
    loadClip(clips_[0]);
    loadClip(clips_[1]);
    click("Command1");
    ASSERT_TRUE(waitUntilOpened(player()));
    cutWhilePlaying(60, Qt::Key_2, 'B');
    control<QSlider>("Slider1").setValue(2000);
    cutWhilePlaying(150, Qt::Key_1, 'A');
    QTest::mouseClick(&control<QCheckBox>("Check1"), Qt::LeftButton);  // fade in

    const std::string saved = scriptFolder() + "/saved.avs";
    saveDialog_->answers.push_back(saved);
    click("Command3");
    const std::int64_t timelineHere = player().position();
    press(Qt::Key_F6);
    ASSERT_TRUE(waitUntilOpened(player()));
    ASSERT_TRUE(waitUntilShown(player()));
    EXPECT_EQ(player().position(), timelineHere + 1)
        << "the edit starts where the preview was, after the fade-in's frame";
    ASSERT_TRUE(player().isOpen()) << player().errorMessage().toStdString();
    const std::string editPreview = scriptFolder() + "/edit-preview.avs";
    EXPECT_EQ(player().fileName().toStdString(), editPreview);
    EXPECT_EQ(readBytes(editPreview), readBytes(saved)) << "the edit preview is the script build script saves";
    EXPECT_TRUE(player().columnMarks().isEmpty()) << "letters only over the angles";

    // Paused in the edit preview, a cut records the time-line frame on screen.
    player().setFocus();
    press(Qt::Key_Left);  // a step pauses
    press(Qt::Key_Home);
    for (int i = 0; i < 10; ++i) press(Qt::Key_PageDown);
    const int onScreen = shownFrameIndex(player());
    EXPECT_EQ(onScreen, 99) << "edit frame 100 is time-line frame 99 behind the fade-in's black frame";
    press(Qt::Key_1);
    EXPECT_EQ(edit().currentPositionText(), std::to_string(onScreen) + "|A");

    QStringList filters;
    const QString video = QString::fromStdString(scriptFolder() + "/edit.mp4");
    renderTo(video.chopped(4), [&](QFileDialog& dialog) { filters = dialog.nameFilters(); });
    EXPECT_EQ(filters, (QStringList{QStringLiteral("MP4 video (H.264, AAC) (*.mp4)"),
                                    QStringLiteral("Matroska, lossless (FFV1) (*.mkv)"),
                                    QStringLiteral("QuickTime (H.264) (*.mov)")}));
    ASSERT_NE(window().render(), nullptr);
    QString progress;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            if (window().render() && window().render()->labelText().contains(QStringLiteral("Frame ")))
                progress = window().render()->labelText();
            return !messages_->shown.empty() && messages_->shown.back() != model::messages::kScriptSaved;
        },
        180'000));
    EXPECT_EQ(messages_->shown.back(), model::messages::kVideoRenderedPrefix + video.toStdString());
    EXPECT_EQ(renderFiles().join(u' ').toStdString(), "");

    writeBytes(scriptFolder() + "/rendered.avs", model::editScriptText(edit()));
    const auto script = engine::openClip(scriptFolder() + "/rendered.avs");
    const auto rendered = engine::openClip(video.toStdString());
    const engine::VideoInfo& want = script->info();
    const engine::VideoInfo& got = rendered->info();
    EXPECT_EQ(got.frameCount, want.frameCount);
    EXPECT_EQ(got.width, want.width);
    EXPECT_EQ(got.height, want.height);
    ASSERT_TRUE(got.hasAudio());
    EXPECT_NEAR(static_cast<double>(got.audioSamples), static_cast<double>(want.audioSamples), kOneAacFrame);
    EXPECT_TRUE(progress.isEmpty() || progress.contains(QStringLiteral(" of %1").arg(want.frameCount)))
        << progress.toStdString();
}

enum class RenderEnd { Failed, Cancelled, WindowClosed };

class RenderScriptLife : public RenderFromWindow, public ::testing::WithParamInterface<RenderEnd> {};

// The script of a render that fails, is cancelled or whose window closes goes with it.
TEST_P(RenderScriptLife, TheScriptGoesWithItsRender) {
    loadClip(GetParam() == RenderEnd::Failed ? std::filesystem::path("/gone/a.avi") : clips_[0]);
    click("Command4");
    click("Command4");
    const size_t messagesBefore = messages_->shown.size();
    renderTo(QString::fromStdString(scriptFolder() + "/edit.mkv"));
    ASSERT_NE(window().render(), nullptr);
    ASSERT_TRUE(GetParam() != RenderEnd::Failed ||
                QTest::qWaitFor([&] { return messages_->shown.size() > messagesBefore; }, 120'000));
    if (GetParam() == RenderEnd::Cancelled) window().render()->close();  // its close box cancels
    if (GetParam() == RenderEnd::WindowClosed) window_.reset();
    EXPECT_EQ(renderFiles().join(u' ').toStdString(), "");
}

INSTANTIATE_TEST_SUITE_P(Ends, RenderScriptLife,
                         ::testing::Values(RenderEnd::Failed, RenderEnd::Cancelled, RenderEnd::WindowClosed));

// A second editor on the same script folder, keeping its edit in a folder of its own.
struct OtherEditor {
    explicit OtherEditor(const std::string& folder) {
        MainWindowSetup setup;
        setup.locations = model::ScriptLocations::inFolder(folder);
        setup.stateFolder = folder + "/other-state";
        setup.openDialog = std::unique_ptr<QueuedFileDialog>(open = new QueuedFileDialog);
        setup.renderDialog = std::unique_ptr<QueuedFileDialog>(render = new QueuedFileDialog);
        setup.messages = std::unique_ptr<RecordingMessages>(messages = new RecordingMessages);
        window = std::make_unique<MainWindow>(std::move(setup));
    }
    void click(const char* name) {
        window->clientArea().findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
    }
    QueuedFileDialog* open;
    QueuedFileDialog* render;
    RecordingMessages* messages;
    std::unique_ptr<MainWindow> window;
};

// While this editor's user picks the video's file, another editor renders
// its own edit: each video holds its own editor's edit, and each render's
// script is gone once it has ended.
TEST_F(RenderFromWindow, AnotherEditorRenderingMeanwhileRendersOnlyItsOwnEdit) {
    loadClip(clips_[0]);
    click("Command4");
    click("Command4");
    OtherEditor other(scriptFolder());
    other.open->answers.push_back(clips_[0].string());
    for (const char* name : {"Command2", "Command4", "Command4", "Check1"}) other.click(name);  // with a fade-in
    const int64_t mine = framesOf(model::editScriptText(edit()));
    const int64_t theirs = framesOf(model::editScriptText(other.window->edit()));
    ASSERT_NE(mine, theirs);

    const QString video = QString::fromStdString(scriptFolder() + "/mine.mkv");
    const QString otherVideo = QString::fromStdString(scriptFolder() + "/theirs.mkv");
    other.render->answers.push_back(otherVideo.toStdString());
    renderTo(video, [&](QFileDialog&) {
        for (QAction* action : other.window->menu().file->actions())
            if (action->text().startsWith(QStringLiteral("Render video"))) action->trigger();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !other.messages->shown.empty(); }, 120'000));
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages_->shown.empty(); }, 120'000));
    EXPECT_EQ(other.messages->shown.back(), model::messages::kVideoRenderedPrefix + otherVideo.toStdString());
    EXPECT_EQ(messages_->shown.back(), model::messages::kVideoRenderedPrefix + video.toStdString());
    EXPECT_EQ(engine::openClip(otherVideo.toStdString())->info().frameCount, theirs);
    EXPECT_EQ(engine::openClip(video.toStdString())->info().frameCount, mine);
    EXPECT_EQ(renderFiles().join(u' ').toStdString(), "");
}

// A cancelled render leaves neither the video nor its partial file.
TEST(RenderProcessTest, CancelStopsTheRenderAndRemovesThePartialFile) {
    QTemporaryDir folder;
    const QString script = folder.filePath(QStringLiteral("long.avs"));
    model::testing::writeBytes(script.toStdString(), "blankclip(length=100000, width=320, height=240)\r\n");
    const QString video = folder.filePath(QStringLiteral("long.mkv"));
    RenderProcess render(script, video);
    bool finished = false;
    qint64 frames = 0;
    QObject::connect(&render, &RenderProcess::finished, [&] { finished = true; });
    QObject::connect(&render, &RenderProcess::progressed, [&](qint64 done, qint64) { frames = done; });
    render.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return frames > 0 || finished; }, 60'000));
    ASSERT_FALSE(finished);
    const auto files = [&] { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); };
    EXPECT_EQ(files().size(), 2) << "the script and the partial video";
    render.cancel();
    EXPECT_FALSE(render.isRunning());
    EXPECT_EQ(files().join(u' ').toStdString(), "long.avs");
    QTest::qWait(50);
    EXPECT_FALSE(finished);
}

}  // namespace
}  // namespace vistrel::ui::testing
