// Real files through the script engine, one run per codec and container: the
// frame asked for is the frame on the screen, forward and backward, and the
// frame reported while playing is the frame shown.
#include "player/PlayerProbe.h"
#include "player/PlayerWnd.h"
#include "support/TestMedia.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

using namespace std::chrono_literals;
using namespace vistrel::test;
using vistrel::player::PlaybackDependencies;
using vistrel::player::PlayerWnd;

namespace {

class PlayerMedia : public ::testing::TestWithParam<MediaRecipe> {
protected:
    std::unique_ptr<PlayerWnd> player;

    void SetUp() override {
        PlaybackDependencies dependencies = PlaybackDependencies::standard();
        dependencies.sound = nullptr;
        player = std::make_unique<PlayerWnd>(std::move(dependencies));
        player->resize(320, 266);
    }

    void open(const std::filesystem::path& path) {
        player->filename(QString::fromStdString(path.string()));
        ASSERT_TRUE(waitUntilOpened(*player));
        ASSERT_TRUE(player->isOpen()) << player->errorMessage().toStdString();
    }
};

TEST_P(PlayerMedia, SeekShowsTheFrameAskedFor) {
    VISTREL_TEST_MEDIA_OR_SKIP(path, GetParam());
    open(path);
    const int count = GetParam().frames, last = count - 1;
    ASSERT_EQ(player->frameCount(), count);
    EXPECT_EQ(shownFrameIndex(*player), 0);
    // Forward and backward, across keyframes, the last three frames, neighbours in reverse.
    for (int n : {1, 2, 17, count / 2, last, last - 1, last - 2, count * 3 / 4, count / 2 - 1, 3, 0, count / 3 + 1,
                  count / 3, count / 3 - 1, count * 2 / 3, 12}) {
        player->sendcommand(QString("seek to %1").arg(n));
        ASSERT_TRUE(waitUntilShown(*player));
        EXPECT_EQ(player->sendcommand("status position"), QString::number(n));
        EXPECT_EQ(shownFrameIndex(*player), n) << "after seek to " << n;
    }
}

TEST_P(PlayerMedia, StepKeysShowEachFrame) {
    VISTREL_TEST_MEDIA_OR_SKIP(path, GetParam());
    open(path);
    player->sendcommand("seek to 40 wait");
    for (int i = 1; i <= 5; ++i) {
        player->step(1);
        ASSERT_TRUE(waitUntilShown(*player));
        EXPECT_EQ(shownFrameIndex(*player), 40 + i);
    }
    for (int i = 1; i <= 5; ++i) {
        player->step(-1);
        ASSERT_TRUE(waitUntilShown(*player));
        EXPECT_EQ(shownFrameIndex(*player), 45 - i);
    }
}

// Hundreds of seeks without waiting, as a dragged slider sends them: the
// decoder ends on the last one asked, and nothing older lands after it.
TEST_P(PlayerMedia, SeekStormEndsOnTheLastOneAsked) {
    VISTREL_TEST_MEDIA_OR_SKIP(path, GetParam());
    open(path);
    std::mt19937 random(11);
    std::uniform_int_distribution<int> pick(1, GetParam().frames - 1);
    int last = 0;
    for (int i = 0; i < 300; ++i) {
        player->sendcommand(QString("seek to %1").arg(last = pick(random)));
        if (i % 30 == 0) QCoreApplication::processEvents();
    }
    ASSERT_TRUE(waitUntilShown(*player));
    runEventLoop(100ms);
    EXPECT_EQ(player->position(), last);
    EXPECT_EQ(shownFrameIndex(*player), last);
}

TEST_P(PlayerMedia, PlayingShowsTheFrameItReports) {
    VISTREL_TEST_MEDIA_OR_SKIP(path, GetParam());
    open(path);
    PositionRecorder reports(*player);
    player->play();
    ASSERT_TRUE(waitUntilPast(*player, 3));
    player->sendcommand("pause");
    ASSERT_FALSE(reports.positions().empty());
    const int reported = reports.positions().back();
    EXPECT_EQ(player->sendcommand("status position"), QString::number(reported));
    EXPECT_EQ(shownFrameIndex(*player), reported);
}

std::string recipeName(const ::testing::TestParamInfo<MediaRecipe>& info) {
    std::string name = info.param.name;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryCodec, PlayerMedia, ::testing::ValuesIn(recipes::constantRate()), recipeName);

TEST(PlayerScripts, ScriptOverAClipIsShownThroughTheEngine) {
    VISTREL_TEST_MEDIA_OR_SKIP(clip, recipes::ffv1Avi());
    QTemporaryDir folder;
    QFile script(folder.filePath("trimmed.avs"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QString("avisource(\"%1\").trim(50, 0).converttorgb32()\r\n")
                     .arg(QString::fromStdString(clip.string()))
                     .toUtf8());
    script.close();

    PlaybackDependencies dependencies = PlaybackDependencies::standard();
    dependencies.sound = nullptr;
    PlayerWnd player(std::move(dependencies));
    player.resize(320, 266);
    player.filename(script.fileName());
    ASSERT_TRUE(waitUntilOpened(player));
    ASSERT_TRUE(player.isOpen()) << player.errorMessage().toStdString();
    EXPECT_EQ(player.sendcommand("status length"), "150");
    player.sendcommand("seek to 10 wait");
    EXPECT_EQ(shownFrameIndex(player), 60);
}

}  // namespace
