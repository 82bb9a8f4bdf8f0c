#pragma once
// A fresh player per test over fake files and a recording sound device.

#include "player/FakeFiles.h"
#include "player/FakeSoundOutput.h"
#include "player/PlayerProbe.h"
#include "player/PlayerWnd.h"
#include "support/IndexedClip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace vistrel::test {

class PlayerFixture : public ::testing::Test {
protected:
    // A picture area of 320 x 240 (the clips' own size) over the 26-pixel bar.
    static constexpr QSize kPlayerSize{320, 266};

    FakeFiles files;
    ManualClock clock;
    std::shared_ptr<SoundLog> sound = std::make_shared<SoundLog>();
    std::unique_ptr<player::PlayerWnd> player;

    void SetUp() override { makePlayer(); }
    void TearDown() override {
        player.reset();
        // Opens outlive their player; they must end before the fake files go.
        player::ClipOpener::finishAbandonedOpens();
    }

    // With onManualClock, the player's time stands still until the test moves `clock`.
    void makePlayer(std::chrono::milliseconds openWait = std::chrono::milliseconds(400), bool onManualClock = false) {
        player::PlaybackDependencies dependencies;
        dependencies.open = files.open();
        dependencies.sound = FakeSoundOutput::factory(sound);
        dependencies.openWait = openWait;
        if (onManualClock) dependencies.clock = clock.function();
        player = std::make_unique<player::PlayerWnd>(std::move(dependencies));
        player->resize(kPlayerSize);
    }

    // A 200-frame 25 fps clip named path, opened and showing frame 0.
    void openClip(const QString& path = "clip.avi", const IndexedClipShape& shape = {}) {
        files.add(path, IndexedClip::make(shape));
        player->filename(path);
        ASSERT_TRUE(waitUntilOpened(*player));
        ASSERT_TRUE(player->isOpen()) << player->errorMessage().toStdString();
    }

    // Plays for `span` on the manual clock, moved `step` at a time. After each
    // step the player has all the time it needs to show the frame its clock
    // makes due (25 fps at the player's rate, from the frame it played from,
    // up to the last); false when it shows any other.
    bool playFor(std::chrono::milliseconds span, std::chrono::milliseconds step = std::chrono::milliseconds(40)) {
        if (!waitUntil([&] { return !player->isPriming(); })) return false;
        const int64_t from = player->position(), last = player->frameCount() - 1;
        for (auto played = step; played <= span; played += step) {
            clock.advance(step);
            const int64_t due = std::min(last, from + played.count() * 25 * player->playbackRate() / 1'000'000);
            if (!waitUntil([&] { return player->position() == due; }, std::chrono::seconds(20))) {
                ADD_FAILURE() << "at " << played.count() << " ms the player shows " << player->position()
                              << " instead of " << due;
                return false;
            }
        }
        return true;
    }

    std::string status(const char* what) { return player->sendcommand(QString("status ") + what).toStdString(); }
    // "seek to target", then the event loop until its frame is shown.
    void seekTo(const QString& target) {
        EXPECT_EQ(player->sendcommand("seek to " + target), QString());
        EXPECT_TRUE(waitUntilShown(*player));
    }
};

}  // namespace vistrel::test
