// Which file a path given to the player names, with either separator.
#include "player/ClipOpener.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using vistrel::player::resolvePlayerPath;

namespace {

class PlayerPathTest : public ::testing::Test {
protected:
    QTemporaryDir folder;

    QString makeFile(const QString& name) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return file.fileName();
    }
};

TEST_F(PlayerPathTest, ForwardSlashesAreKept) {
    const QString path = makeFile("clip.avi");
    EXPECT_EQ(resolvePlayerPath(path), path);
}

TEST_F(PlayerPathTest, BackslashesNameTheSameFile) {
    const QString path = makeFile("preview.avs");
    QString backslashed = path;
    backslashed.replace(u'/', u'\\');
    EXPECT_EQ(QDir::cleanPath(QDir::fromNativeSeparators(resolvePlayerPath(backslashed))), QDir::cleanPath(path));
}

#ifndef Q_OS_WIN
TEST_F(PlayerPathTest, BackslashInAnExistingFileNameIsPartOfTheName) {
    const QString path = makeFile("odd\\name.avi");
    EXPECT_EQ(resolvePlayerPath(path), path);
}
#endif

TEST_F(PlayerPathTest, MissingFileIsPassedOnAsGiven) {
    EXPECT_EQ(resolvePlayerPath("nowhere\\at\\all.avi"), "nowhere\\at\\all.avi");
}

}  // namespace
