#include "soak/PreviewSession.h"

#include "model/Edit.h"
#include "model/ScriptFile.h"
#include "model/Scripts.h"
#include "player/PlayerProbe.h"
#include "player/PlayerWnd.h"
#include "soak/ResidentMemory.h"
#include "support/FrameIndexPattern.h"
#include "support/TestMedia.h"

#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace vistrel::soak {
namespace {

using namespace std::chrono_literals;

constexpr int kAngles = 4;
constexpr std::array<int, kAngles> kStartFrames{0, 5, 10, 15};

struct QueuedDialog : model::FileDialog {
    std::string path;
    std::optional<std::string> choose() override { return path; }
};

struct IgnoredMessages : model::MessageSink {
    void showMessage(const std::string& text) override { std::printf("preview: message: %s\n", text.c_str()); }
};

std::optional<std::string> angleClips(std::vector<test::MediaRecipe>& recipes, std::vector<std::string>& paths) {
    recipes = {test::recipes::ffv1Avi(), test::recipes::mjpegAvi(), test::recipes::mpeg4BFramesAvi(),
               test::recipes::h264BFramesAvi()};
    for (const auto& recipe : recipes) {
        std::string reason;
        const auto path = test::testMedia(recipe, &reason);
        if (!path) return reason;
        paths.push_back(path->string());
    }
    return std::nullopt;
}

// The frame index each angle's column of the shown picture carries.
std::array<int, kAngles> shownIndexes(player::PlayerWnd& player) {
    const QImage shot = player.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect area = player.pictureRect();
    auto frame = engine::Frame::create(shot.width(), shot.height(), engine::PixelType::RGB32);
    for (int y = 0; y < shot.height(); ++y)
        std::memcpy(frame->plane(0).row(y), shot.constScanLine(y), size_t(shot.width()) * 4);
    std::array<int, kAngles> indexes{};
    for (int i = 0; i < kAngles; ++i) {
        const QRect column(area.x() + area.width() * i / kAngles, area.y(), area.width() / kAngles, area.height());
        indexes[size_t(i)] = test::readFrameIndex(*frame, column);
    }
    return indexes;
}

struct Checks {
    int pictures = 0;
    int wrong = 0;
};

void checkShownFrame(player::PlayerWnd& player, const std::vector<test::MediaRecipe>& recipes, Checks& checks,
                     const char* when) {
    const int position = player.sendcommand(QStringLiteral("status position")).toInt();
    const auto shown = shownIndexes(player);
    ++checks.pictures;
    for (int i = 0; i < kAngles; ++i) {
        const int expected = std::min(position + kStartFrames[size_t(i)], recipes[size_t(i)].frames - 1);
        if (shown[size_t(i)] == expected) continue;
        ++checks.wrong;
        std::printf("preview: WRONG FRAME %s: position %d, angle %c shows %d instead of %d\n", when, position,
                    char('A' + i), shown[size_t(i)], expected);
    }
}

}  // namespace

bool runPreviewSession(int seconds) {
    std::vector<test::MediaRecipe> recipes;
    std::vector<std::string> clips;
    if (const auto reason = angleClips(recipes, clips)) {
        std::printf("preview: cannot make the angle clips: %s\n", reason->c_str());
        return false;
    }
    model::Edit edit;
    edit.initialise();
    QueuedDialog dialog;
    IgnoredMessages messages;
    for (int i = 0; i < kAngles; ++i) {
        dialog.path = clips[size_t(i)];
        edit.addClip(dialog, messages);
        edit.setStartFrame(i, std::to_string(kStartFrames[size_t(i)]));
    }
    QTemporaryDir folder;
    const std::string previewPath = folder.filePath("preview.avs").toStdString();
    if (const auto failure = model::saveScriptFile(previewPath, model::previewScriptText(edit))) {
        std::printf("preview: %s\n", failure->c_str());
        return false;
    }

    player::PlayerWnd player;
    player.resize(760, 220);
    player.show();
    player.filename(QString::fromStdString(previewPath));
    if (!test::waitUntilOpened(player) || player.frameCount() <= 0) {
        std::printf("preview: the preview did not open: %s\n", player.errorMessage().toStdString().c_str());
        return false;
    }
    const int frames = int(player.frameCount());
    player.play();
    test::runEventLoop(1s);

    const double startMiB = residentMiB();
    double peakMiB = startMiB;
    std::mt19937 random(3);
    Checks checks;
    for (int second = 1; second <= seconds; ++second) {
        const int target = std::uniform_int_distribution<int>(0, frames - 1)(random);
        player.sendcommand(QStringLiteral("seek to %1 wait").arg(target));
        checkShownFrame(player, recipes, checks, "after a seek");
        test::runEventLoop(500ms);
        checkShownFrame(player, recipes, checks, "while playing");
        test::runEventLoop(500ms);
        if (player.sendcommand(QStringLiteral("status mode")) != QStringLiteral("playing")) player.play();
        peakMiB = std::max(peakMiB, residentMiB());
        if (second % 60 == 0)
            std::printf("preview: %d s, resident %.1f MiB, %d pictures checked, %d wrong\n", second, residentMiB(),
                        checks.pictures, checks.wrong);
        std::fflush(stdout);
    }
    const double endMiB = residentMiB();
    std::printf(
        "preview: %d s with a seek every second; resident memory at start %.1f MiB, peak %.1f MiB, "
        "end %.1f MiB (process high-water mark %.1f MiB); %d pictures checked, %d angle pictures wrong\n",
        seconds, startMiB, peakMiB, endMiB, peakResidentMiB(), checks.pictures, checks.wrong);
    return checks.wrong == 0 && checks.pictures > 0;
}

}  // namespace vistrel::soak
