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

using namespace vistrel::test;
using vistrel::player::PlaybackDependencies;
using vistrel::player::PlayerWnd;

namespace {

class BadInput : public ::testing::Test {
protected:
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

TEST_F(BadInput, MissingFile) {
    const QString path = folder.filePath("not-there.avi");
    expectCard(path);
    EXPECT_TRUE(player->errorMessage().contains("not-there.avi")) << player->errorMessage().toStdString();
    expectNextFileWorks();
}

TEST_F(BadInput, Folder) {
    expectCard(folder.path());
    expectNextFileWorks();
}

TEST_F(BadInput, ZeroByteFile) {
    expectCard(writeFile("empty.avi", {}));
    expectNextFileWorks();
}

TEST_F(BadInput, RandomBytesNamedAvi) {
    QByteArray noise(64 * 1024, '\0');
    QRandomGenerator generator(1234);
    for (char& byte : noise) byte = static_cast<char>(generator.bounded(256));
    expectCard(writeFile("noise.avi", noise));
    expectNextFileWorks();
}

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

TEST_F(BadInput, ScriptWithAnError) {
    expectCard(writeFile("broken.avs", "blankclip()\r\nnosuchfunction(1)\r\n"));
    EXPECT_TRUE(player->errorMessage().contains("nosuchfunction")) << player->errorMessage().toStdString();
    expectNextFileWorks();
}

TEST_F(BadInput, EmptyFilename) {
    expectCard("");
    EXPECT_EQ(player->errorMessage(), "No file name was given.");
    expectNextFileWorks();
}

}  // namespace
