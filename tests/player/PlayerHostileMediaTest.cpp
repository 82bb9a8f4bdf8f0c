// Every hostile file in the real player: a file that cannot be shown gives
// the card with the reason and "status position" answers "0"; a file that
// can be shown plays to its end; either way the next file opens normally
// and the player never hangs.
#include "player/PlayerProbe.h"
#include "player/PlayerWnd.h"
#include "support/FrameIndexPattern.h"
#include "support/HostileMedia.h"
#include "support/Watchdog.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vistrel::test;
using vistrel::player::PlaybackDependencies;
using vistrel::player::PlayerWnd;
using namespace std::chrono_literals;

namespace {

class PlayerHostileMedia : public ::testing::TestWithParam<HostileCase> {
protected:
    QTemporaryDir folder;
    std::unique_ptr<PlayerWnd> player;

    std::filesystem::path scratch() const { return folder.path().toStdString(); }

    void SetUp() override {
        PlaybackDependencies dependencies = PlaybackDependencies::standard();
        dependencies.sound = nullptr;
        player = std::make_unique<PlayerWnd>(std::move(dependencies));
        player->resize(320, 266);
    }
    void TearDown() override {
        player.reset();
        vistrel::player::ClipOpener::finishAbandonedOpens();
    }

    void open(const std::filesystem::path& file) {
        Watchdog watchdog("the player opening " + file.string(), 30s);
        player->filename(QString::fromStdString(file.string()));
        ASSERT_TRUE(waitUntilOpened(*player, 30s));
    }
};

TEST_P(PlayerHostileMedia, ShowsTheCardOrPlaysToTheEnd) {
    const HostileCase& hostile = GetParam();
    VISTREL_HOSTILE_MEDIA_OR_SKIP(file, hostile, scratch());
    ASSERT_NO_FATAL_FAILURE(open(file));

    if (!player->isOpen()) {
        EXPECT_NE(hostile.outcome, HostileOutcome::Opens) << player->errorMessage().toStdString();
        EXPECT_FALSE(player->errorMessage().isEmpty());
        EXPECT_TRUE(hasRedText(player->grab().toImage())) << "no card";
        player->sendcommand("seek to 10");
        player->play();
        EXPECT_EQ(player->sendcommand("status position"), "0");
        return;
    }
    EXPECT_NE(hostile.outcome, HostileOutcome::Refused) << "the player opened a file that should be refused";
    const int64_t last = player->frameCount() - 1;
    if (hostile.frames >= 0) {
        EXPECT_EQ(player->frameCount(), hostile.frames);
    }
    Watchdog watchdog("playing " + file.string(), 30s);
    player->sendcommand(QString("seek to %1").arg(std::max<int64_t>(0, last - 5)));
    player->play();
    for (int wait = 0; wait < 100 && player->sendcommand("status position").toLongLong() < last; ++wait)
        runEventLoop(50ms);
    EXPECT_EQ(player->sendcommand("status position").toLongLong(), last);
}

TEST_P(PlayerHostileMedia, TheNextFileOpensNormally) {
    const HostileCase& hostile = GetParam();
    VISTREL_HOSTILE_MEDIA_OR_SKIP(file, hostile, scratch());
    std::string reason;
    const auto good = wellFormedClip(&reason);
    if (!good) GTEST_SKIP() << reason;
    ASSERT_NO_FATAL_FAILURE(open(file));

    ASSERT_NO_FATAL_FAILURE(open(*good));

    ASSERT_TRUE(player->isOpen()) << player->errorMessage().toStdString();
    player->sendcommand("seek to 37 wait");
    EXPECT_EQ(player->sendcommand("status position"), "37");
    EXPECT_EQ(shownFrameIndex(*player), 37);
}

INSTANTIATE_TEST_SUITE_P(EveryCase, PlayerHostileMedia, ::testing::ValuesIn(hostileCases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
