// Files the player cannot show, or shows though they are odd, through the
// real script engine: a file that cannot be shown gives the card with the
// reason and "status position" answers "0"; a file that can be shown plays
// to its end; either way the next file opens normally and the player never
// hangs.
#include "player/PlayerProbe.h"
#include "player/PlayerWnd.h"
#include "support/FrameIndexPattern.h"
#include "support/HostileMedia.h"
#include "support/TestMedia.h"
#include "support/Watchdog.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace vistrel::test;
using vistrel::player::PlaybackDependencies;
using vistrel::player::PlayerWnd;
using namespace std::chrono_literals;

namespace {

class UnreadableFile : public ::testing::Test {
public:
    QTemporaryDir folder;
    std::unique_ptr<PlayerWnd> player;

    std::filesystem::path scratch() const { return folder.path().toStdString(); }

    void SetUp() override {
        PlaybackDependencies dependencies = PlaybackDependencies::standard();
        dependencies.sound = nullptr;
        player = std::make_unique<PlayerWnd>(std::move(dependencies));
        player->resize(704, 146);
    }
    void TearDown() override {
        player.reset();
        vistrel::player::ClipOpener::finishAbandonedOpens();
    }

    QString writeFile(const QString& name, const QByteArray& bytes) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    void open(const QString& path) {
        Watchdog watchdog("the player opening " + path.toStdString(), 30s);
        player->filename(path);
        ASSERT_TRUE(waitUntilOpened(*player, 30s));
    }

    // The card with a reason; no command moves the player off frame 0.
    void expectCard() {
        EXPECT_FALSE(player->isOpen());
        EXPECT_FALSE(player->errorMessage().isEmpty());
        EXPECT_TRUE(hasRedText(player->grab().toImage())) << "no card";
        player->sendcommand("seek to 10");
        player->play();
        EXPECT_EQ(player->sendcommand("status position"), "0");
        EXPECT_EQ(player->sendcommand("status mode"), "stopped");
    }

    // The next file after a bad one opens and shows its frames.
    void expectNextFileWorks() {
        VISTREL_TEST_MEDIA_OR_SKIP(good, recipes::ffv1Avi());
        ASSERT_NO_FATAL_FAILURE(open(QString::fromStdString(good.string())));
        ASSERT_TRUE(player->isOpen()) << player->errorMessage().toStdString();
        EXPECT_EQ(player->errorMessage(), "");
        player->sendcommand("seek to 17 wait");
        EXPECT_EQ(player->sendcommand("status position"), "17");
        EXPECT_EQ(shownFrameIndex(*player), 17);
    }
};

// Each row makes a file the player cannot show; the card names what is
// wrong (saying `says` where it is given), and the next file works.
struct BadFile {
    const char* name;
    std::function<QString(UnreadableFile&)> make;
    QString says;
};

class BadFiles : public UnreadableFile, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadFiles, ShowsTheCardAndTheNextFileWorks) {
    const BadFile& row = GetParam();
    ASSERT_NO_FATAL_FAILURE(open(row.make(*this)));
    expectCard();
    EXPECT_TRUE(player->errorMessage().contains(row.says)) << player->errorMessage().toStdString();
    expectNextFileWorks();
}

QByteArray noise() {
    QByteArray bytes(64 * 1024, '\0');
    QRandomGenerator generator(1234);
    for (char& byte : bytes) byte = static_cast<char>(generator.bounded(256));
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadFiles,
    ::testing::Values(
        BadFile{"MissingFile", [](UnreadableFile& t) { return t.folder.filePath("not-there.avi"); }, "not-there.avi"},
        BadFile{"Folder", [](UnreadableFile& t) { return t.folder.path(); }, {}},
        BadFile{"ZeroByteFile", [](UnreadableFile& t) { return t.writeFile("empty.avi", {}); }, {}},
        BadFile{"RandomBytesNamedAvi", [](UnreadableFile& t) { return t.writeFile("noise.avi", noise()); }, {}},
        BadFile{"ScriptWithAnError",
                [](UnreadableFile& t) { return t.writeFile("broken.avs", "blankclip()\r\nnosuchfunction(1)\r\n"); },
                "nosuchfunction"},
        BadFile{"EmptyFilename", [](UnreadableFile&) { return QString(); }, "No file name was given."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UnreadableFile, TruncatedAviNeverCrashes) {
    VISTREL_TEST_MEDIA_OR_SKIP(good, recipes::mjpegAvi());
    QFile source(QString::fromStdString(good.string()));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray whole = source.readAll();
    for (qsizetype keep : {qsizetype(200), whole.size() / 2}) {
        const QString path = writeFile(QString("cut-%1.avi").arg(keep), whole.left(keep));
        player->filename(path);
        ASSERT_TRUE(waitUntilOpened(*player));
        // What is left may still open; either way every answer stays sound.
        player->sendcommand("seek to 150");
        const int64_t position = player->sendcommand("status position").toLongLong();
        if (player->isOpen()) {
            EXPECT_LT(position, player->frameCount());
            EXPECT_EQ(player->sendcommand("status length").toLongLong(), player->frameCount());
        } else {
            EXPECT_EQ(position, 0);
            EXPECT_TRUE(hasRedText(player->grab().toImage()));
        }
    }
    expectNextFileWorks();
}

class PlayerHostileMedia : public UnreadableFile, public ::testing::WithParamInterface<HostileCase> {};

TEST_P(PlayerHostileMedia, ShowsTheCardOrPlaysToTheEnd) {
    const HostileCase& hostile = GetParam();
    VISTREL_HOSTILE_MEDIA_OR_SKIP(file, hostile, scratch());
    ASSERT_NO_FATAL_FAILURE(open(QString::fromStdString(file.string())));

    if (!player->isOpen()) {
        EXPECT_NE(hostile.outcome, HostileOutcome::Opens) << player->errorMessage().toStdString();
        expectCard();
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
    ASSERT_NO_FATAL_FAILURE(open(QString::fromStdString(file.string())));
    expectNextFileWorks();
}

INSTANTIATE_TEST_SUITE_P(EveryCase, PlayerHostileMedia, ::testing::ValuesIn(hostileCases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
