#include "soak/SwitchPointSession.h"

#include "model/Edit.h"
#include "model/ScriptOperations.h"
#include "model/Scripts.h"
#include "model/SwitchPoint.h"

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <optional>
#include <random>
#include <string>

namespace vistrel::soak {
namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct ScriptedPlayer : model::PlayerControl {
    std::string reply;
    void filename(const std::string&) override {}
    void play() override {}
    void stop() override {}
    std::string sendcommand(const std::string&) override { return reply; }
};

struct OneAnswerDialog : model::FileDialog {
    std::string path;
    std::optional<std::string> choose() override { return path; }
};

struct LastMessage : model::MessageSink {
    std::string text;
    void showMessage(const std::string& message) override { text = message; }
};

bool inOrder(const model::Edit& edit) {
    const auto& entries = edit.switchPoints().entries();
    return std::is_sorted(entries.begin(), entries.end(),
                          [](const std::string& a, const std::string& b) { return model::switchListLess(a, b); });
}

bool countShown(const model::Edit& edit) {
    return edit.pointCount().text() == std::to_string(edit.switchPoints().count());
}

}  // namespace

bool runSwitchPointSession(int points) {
    model::Edit edit;
    edit.initialise();
    OneAnswerDialog dialog;
    LastMessage message;
    for (const char* clip : {"/clips/a.avi", "/clips/b.avi", "/clips/c.avi", "/clips/d.avi"}) {
        dialog.path = clip;
        edit.addClip(dialog, message);
    }
    std::mt19937 random(7);
    ScriptedPlayer player;

    auto start = Clock::now();
    for (int i = 0; i < points; ++i) {
        player.reply = std::to_string(std::uniform_int_distribution<int>(0, 99'999'999)(random));
        edit.addSwitchPoint(char('A' + random() % 4), player);
    }
    const double addMs = msSince(start);
    const bool addedInOrder = inOrder(edit) && countShown(edit) && edit.switchPoints().count() == points + 1;

    QTemporaryDir folder;
    dialog.path = folder.filePath("long.avs").toStdString();
    start = Clock::now();
    model::buildEditScript(edit, dialog, message);
    const double writeMs = msSince(start);
    const bool saved = message.text == "The AviSynth script has been saved.";

    start = Clock::now();
    bool keptInOrder = true;
    for (int i = 0; i < points; ++i) {
        edit.removeSwitchPoint(std::uniform_int_distribution<int>(0, edit.switchPoints().count() - 1)(random));
        if (i % 1000 == 0) keptInOrder = keptInOrder && inOrder(edit) && countShown(edit);
    }
    const double removeMs = msSince(start);
    keptInOrder = keptInOrder && countShown(edit) && edit.switchPoints().count() == 1;

    std::printf(
        "switch points: %d added in %.1f ms, edit script of %d points written in %.1f ms, "
        "all removed in %.1f ms\n",
        points, addMs, points + 1, writeMs, removeMs);
    if (!addedInOrder || !keptInOrder) std::printf("switch points: FAULT: the list lost its order or its count\n");
    if (!saved) std::printf("switch points: FAULT: the edit script was not saved: %s\n", message.text.c_str());
    return addedInOrder && keptInOrder && saved;
}

}  // namespace vistrel::soak
