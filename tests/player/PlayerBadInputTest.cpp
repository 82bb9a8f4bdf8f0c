// Files that cannot be shown, through the real script engine: the card says
// what is wrong, the position is 0, and the next file works.
#include "player/PlayerProbe.h"
#include "player/PlayerWnd.h"
#include "support/TestMedia.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace vistrel::test;
using vistrel::player::PlaybackDependencies;
using vistrel::player::PlayerWnd;

namespace {

class BadInput : public ::testing::Test {
public:
    QTemporaryDir folder;
    std::unique_ptr<PlayerWnd> player;

    void SetUp() override {
        PlaybackDependencies dependencies = PlaybackDependencies::standard();
        dependencies.sound = nullptr;
        player = std::make_unique<PlayerWnd>(std::move(dependencies));
        player->resize(704, 146);
    }

    QString writeFile(const QString& name, const QByteArray& bytes) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    // Opens path and checks the player shows a card and stays usable.
    void expectCard(const QString& path) {
        player->filename(path);
        ASSERT_TRUE(waitUntilOpened(*player));
        EXPECT_FALSE(player->isOpen());
        EXPECT_FALSE(player->errorMessage().isEmpty());
        EXPECT_TRUE(hasRedText(player->grab().toImage())) << "no card for " << path.toStdString();
        EXPECT_EQ(player->sendcommand("status position"), "0");
        player->sendcommand("seek to 10");
        player->play();
        EXPECT_EQ(player->sendcommand("status position"), "0");
        EXPECT_EQ(player->sendcommand("status mode"), "stopped");
    }

    // The next file after a bad one opens and shows its frames.
    void expectNextFileWorks() {
        VISTREL_TEST_MEDIA_OR_SKIP(good, recipes::ffv1Avi());
        player->filename(QString::fromStdString(good.string()));
        ASSERT_TRUE(waitUntilOpened(*player));
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
    std::function<QString(BadInput&)> make;
    QString says;
};

class BadFiles : public BadInput, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadFiles, ShowsTheCardAndTheNextFileWorks) {
    const BadFile& row = GetParam();
    expectCard(row.make(*this));
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
        BadFile{"MissingFile", [](BadInput& t) { return t.folder.filePath("not-there.avi"); }, "not-there.avi"},
        BadFile{"Folder", [](BadInput& t) { return t.folder.path(); }, {}},
        BadFile{"ZeroByteFile", [](BadInput& t) { return t.writeFile("empty.avi", {}); }, {}},
        BadFile{"RandomBytesNamedAvi", [](BadInput& t) { return t.writeFile("noise.avi", noise()); }, {}},
        BadFile{"ScriptWithAnError",
                [](BadInput& t) { return t.writeFile("broken.avs", "blankclip()\r\nnosuchfunction(1)\r\n"); },
                "nosuchfunction"},
        BadFile{"EmptyFilename", [](BadInput&) { return QString(); }, "No file name was given."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BadInput, TruncatedAviNeverCrashes) {
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

}  // namespace
