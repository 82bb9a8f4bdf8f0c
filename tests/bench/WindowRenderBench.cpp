// The render from the window, timed the way the user waits for it: the main
// window built offscreen with its dialogs answered, the clips loaded through
// "load video clips", a cut every CUT frames marked with the angle buttons on
// the paused preview, then "Render video…" run from its menu entry and timed
// until the window reports the video. Prints the seconds and a copy of the
// script the window rendered (which goes with the render), so that
// engine_bench.py can time vistrel-render on the same script from a shell.
// Asserts nothing.

#include "model/Ports.h"
#include "model/ScriptFile.h"
#include "model/Scripts.h"
#include "player/PlayerWnd.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <optional>

using namespace vistrel;

namespace {

constexpr int kCutEvery = 150;

class Answers : public model::FileDialog {
public:
    std::deque<std::string> paths;
    std::optional<std::string> choose() override {
        if (paths.empty()) return std::nullopt;
        std::string path = paths.front();
        paths.pop_front();
        return path;
    }
};

class Messages : public model::MessageSink {
public:
    std::vector<std::string> shown;
    void showMessage(const std::string& text) override { shown.push_back(text); }
};

int fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s OUTPUT CLIP CLIP...\n", argv[0]);
        return 2;
    }
    ui::MainWindowSetup setup;
    auto open = std::make_unique<Answers>();
    auto render = std::make_unique<Answers>();
    auto messages = std::make_unique<Messages>();
    for (int i = 2; i < argc; ++i) open->paths.push_back(argv[i]);
    render->paths.push_back(argv[1]);
    const Messages& said = *messages;
    setup.openDialog = std::move(open);
    setup.renderDialog = std::move(render);
    setup.messages = std::move(messages);
    const std::string scriptPath = setup.locations.folder + "/window-render-bench.avs";
    ui::MainWindow window(std::move(setup));
    window.show();

    auto& area = window.clientArea();
    for (int i = 2; i < argc; ++i) area.findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    area.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    auto& player = *area.findChild<player::PlayerWnd*>(QStringLiteral("PlayerWnd1"));
    if (!QTest::qWaitFor([&] { return !player.isOpening(); }, 600000)) return fail("the edit preview did not open");
    player.pause();
    const char* angleButtons[] = {"Command4", "Command5", "Command6", "Command7"};
    const int angles = std::min(argc - 2, 4);
    for (int64_t frame = kCutEvery, cut = 1; frame < player.frameCount(); frame += kCutEvery, ++cut) {
        player.seek(frame);
        player.finishSeek();
        area.findChild<QPushButton*>(QString::fromLatin1(angleButtons[cut % angles]))->click();
    }

    if (const auto failure = model::saveScriptFile(scriptPath, model::editScriptText(window.edit()))) {
        std::fprintf(stderr, "%s\n", failure->c_str());
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    for (QAction* action : window.menu().file->actions())
        if (action->text().startsWith(QStringLiteral("Render video"))) action->trigger();
    if (!QTest::qWaitFor([&] { return !said.shown.empty(); }, 3600000)) return fail("the render did not finish");
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("message: %s\n", said.shown.back().c_str());
    std::printf("window_render_seconds: %.3f\n", seconds);
    std::printf("script: %s\n", scriptPath.c_str());
    return said.shown.back().rfind("The video has been rendered", 0) == 0 ? 0 : 1;
}
