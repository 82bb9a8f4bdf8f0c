#include "soak/WindowSession.h"

#include "model/SwitchPoint.h"
#include "player/PlayerProbe.h"
#include "player/PlayerWnd.h"
#include "ui/ListBox.h"
#include "ui/MainWindow.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>

namespace vistrel::soak {
namespace {

using Clock = std::chrono::steady_clock;

struct NamedDialog : model::FileDialog {
    std::string path;
    std::optional<std::string> choose() override { return path; }
};

struct LastMessage : model::MessageSink {
    std::string text;
    void showMessage(const std::string& message) override { text = message; }
};

template <typename T>
T& control(ui::MainWindow& window, const char* name) {
    T* found = window.clientArea().findChild<T*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
    if (!found) throw std::runtime_error(std::string("no control ") + name);
    return *found;
}

void click(ui::MainWindow& window, const char* name) {
    QTest::mouseClick(&control<QPushButton>(window, name), Qt::LeftButton);
}

// A real double-click as the platform sends it: press, release, double-click, release.
void doubleClickRow(ui::ListBox& list, int row) {
    const QModelIndex index = list.model()->index(row, 0);
    list.scrollTo(index);
    const QPoint at = list.visualRect(index).center();
    QTest::mousePress(list.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

bool listHolds(ui::MainWindow& window, int count) {
    const auto& entries = window.edit().switchPoints().entries();
    const bool sorted = std::is_sorted(entries.begin(), entries.end(),
                                       [](const auto& a, const auto& b) { return model::switchListLess(a, b); });
    return sorted && int(entries.size()) == count &&
           control<ui::ListBox>(window, "List1").model()->rowCount() == count &&
           control<QLineEdit>(window, "Text2").text() == QString::number(count);
}

std::size_t linesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return std::size_t(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace

bool runWindowSession(int points) {
    QTemporaryDir folder;
    ui::MainWindowSetup setup;
    setup.locations = model::ScriptLocations::inFolder(folder.path().toStdString());
    setup.stateFolder = folder.filePath("state").toStdString();
    auto open = std::make_unique<NamedDialog>();
    auto save = std::make_unique<NamedDialog>();
    auto messages = std::make_unique<LastMessage>();
    NamedDialog& openDialog = *open;
    LastMessage& message = *messages;
    save->path = folder.filePath("long.avs").toStdString();
    const std::string scriptPath = save->path;
    setup.openDialog = std::move(open);
    setup.saveDialog = std::move(save);
    setup.messages = std::move(messages);

    ui::MainWindow window(std::move(setup));
    window.show();
    player::PlayerWnd& player = control<player::PlayerWnd>(window, "PlayerWnd1");
    if (!test::waitUntilOpened(player) || player.frameCount() <= 0) {
        std::printf("window: the intro did not open\n");
        return false;
    }
    for (const char* clip : {"/clips/a.avi", "/clips/b.avi", "/clips/c.avi", "/clips/d.avi"}) {
        openDialog.path = clip;
        click(window, "Command2");
    }

    std::mt19937 random(11);
    const char* angleButtons[] = {"Command4", "Command5", "Command6", "Command7"};
    auto start = Clock::now();
    for (int i = 0; i < points; ++i) {
        const int frame = std::uniform_int_distribution<int>(0, int(player.frameCount()) - 1)(random);
        player.sendcommand(QStringLiteral("seek to %1 wait").arg(frame));
        click(window, angleButtons[random() % 4]);
    }
    const double addSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    const bool added = listHolds(window, points + 1);

    start = Clock::now();
    click(window, "Command3");
    const double saveMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    const bool saved = message.text == "The AviSynth script has been saved." &&
                       linesOf(scriptPath) == std::size_t(7 + 4 * (points + 1 + 3));

    start = Clock::now();
    ui::ListBox& switchList = control<ui::ListBox>(window, "List1");
    bool kept = true;
    for (int i = 0; i < points; ++i) {
        doubleClickRow(switchList, std::uniform_int_distribution<int>(0, switchList.model()->rowCount() - 1)(random));
        if (i % 1000 == 999) kept = kept && listHolds(window, points - i);
    }
    const double removeSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    kept = kept && listHolds(window, 1);

    std::printf(
        "window: %d switch points clicked in %.1f s, \"build script\" with %d points took %.1f ms, "
        "%d double-clicked away in %.1f s\n",
        points, addSeconds, points + 1, saveMs, points, removeSeconds);
    if (!added || !kept) std::printf("window: FAULT: the switch list, its view or the count box disagree\n");
    if (!saved) std::printf("window: FAULT: the edit script was not saved whole: %s\n", message.text.c_str());
    return added && kept && saved;
}

}  // namespace vistrel::soak
