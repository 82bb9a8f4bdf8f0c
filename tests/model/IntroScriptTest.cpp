#include "model/ModelFakes.h"
#include "model/ScriptOperations.h"
#include "model/Scripts.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace vistrel::model;
using namespace vistrel::model::testing;
namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

namespace {

const std::string introScript =
    "version().addborders(122,20,122,20).converttorgb32()\r\n"
    "subtitle(\"Vistrel is powered by:\", text_color=$ffffff)\r\n";

class IntroScriptTest : public ::testing::Test {
protected:
    void SetUp() override { locations = ScriptLocations::inFolder(tempDir.filePath("cache/vistrel").toStdString()); }

    RecordingPlayer player;
    QTemporaryDir tempDir;
    ScriptLocations locations;
};

}  // namespace

TEST_F(IntroScriptTest, WritesIntoAMissingFolderAndPointsThePlayerThereWithoutPlaying) {
    EXPECT_EQ(ShowIntro(player, locations), std::nullopt);
    EXPECT_EQ(readBytes(locations.introPath), introScript);
    EXPECT_EQ(player.calls, Texts{"filename " + locations.introPlayerPath});
}

TEST_F(IntroScriptTest, FailureIsReturnedAndPlayerStillGetsTheIntroPath) {
    fs::create_directories(locations.introPath);
    EXPECT_EQ(ShowIntro(player, locations), locations.introPath + ": Filename refers to a directory");
    EXPECT_EQ(player.calls, Texts{"filename " + locations.introPlayerPath});
}

TEST(ScriptLocationsTest, CacheFolderFollowsXdgCacheHomeWhenAbsolute) {
    EXPECT_EQ(ScriptLocations::cacheFolder("/var/cache/me", "/home/me"), "/var/cache/me");
    EXPECT_EQ(ScriptLocations::cacheFolder("", "/home/me"), "/home/me/.cache");
    EXPECT_EQ(ScriptLocations::cacheFolder("relative/cache", "/home/me"), "/home/me/.cache");
}

#ifdef Q_OS_WIN
TEST(ScriptLocationsTest, WindowsUsesTheRootOfDriveC) {
    const auto locations = ScriptLocations::forPlatform();
    EXPECT_EQ(locations.introPath, "c:\\intro.avs");
    EXPECT_EQ(locations.introPlayerPath, "c:/intro.avs");
    EXPECT_EQ(locations.previewPath, "c:\\preview.avs");
    EXPECT_EQ(locations.previewPlayerPath, "c:\\preview.avs");
}
#else
TEST(ScriptLocationsTest, PlatformPlacesAreInTheCacheFolderUnderTheSamePaths) {
    const bool wasSet = qEnvironmentVariableIsSet("XDG_CACHE_HOME");
    const QByteArray saved = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", "/somewhere/cache");
    const auto locations = ScriptLocations::forPlatform();
    wasSet ? qputenv("XDG_CACHE_HOME", saved) : qunsetenv("XDG_CACHE_HOME");
    EXPECT_EQ(locations.folder, "/somewhere/cache/vistrel");
    EXPECT_EQ(locations.introPath, "/somewhere/cache/vistrel/intro.avs");
    EXPECT_EQ(locations.introPlayerPath, locations.introPath);
    EXPECT_EQ(locations.previewPath, "/somewhere/cache/vistrel/preview.avs");
    EXPECT_EQ(locations.previewPlayerPath, locations.previewPath);
}
#endif
