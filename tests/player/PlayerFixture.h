#pragma once
// A fresh player per test over fake files and a recording sound device.

#include "player/FakeFiles.h"
#include "player/FakeSoundOutput.h"
#include "support/IndexedClip.h"
#include "player/PlayerProbe.h"
#include "player/PlayerWnd.h"

#include <gtest/gtest.h>

#include <memory>

namespace vistrel::test {

class PlayerFixture : public ::testing::Test {
protected:
    // A picture area of 320 x 240 (the clips' own size) over the 26-pixel bar.
    static constexpr QSize kPlayerSize{320, 266};

    FakeFiles files;
    std::shared_ptr<SoundLog> sound = std::make_shared<SoundLog>();
    std::unique_ptr<player::PlayerWnd> player;

    void SetUp() override { makePlayer(); }
    void TearDown() override {
        player.reset();
        // Opens outlive their player; they must end before the fake files go.
        player::ClipOpener::finishAbandonedOpens();
    }

    void makePlayer(std::chrono::milliseconds openWait = std::chrono::milliseconds(400)) {
        player::PlaybackDependencies dependencies;
        dependencies.open = files.open();
        dependencies.sound = FakeSoundOutput::factory(sound);
        dependencies.openWait = openWait;
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

    std::string status(const char* what) { return player->sendcommand(QString("status ") + what).toStdString(); }
    // "seek to target", then the event loop until its frame is shown.
    void seekTo(const QString& target) {
        EXPECT_EQ(player->sendcommand("seek to " + target), QString());
        EXPECT_TRUE(waitUntilShown(*player));
    }
};

}  // namespace vistrel::test
