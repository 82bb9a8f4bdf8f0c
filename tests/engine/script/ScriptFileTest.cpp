// Script files: reading, scripts that load scripts, and opening any path.
#include "engine/Open.h"
#include "engine/Script.h"
#include "engine/core/ScriptError.h"
#include "engine/script/ScriptHarness.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vistrel::test {
namespace {

using namespace vistrel::engine;

class ScriptFiles : public ::testing::Test {
protected:
    ScriptFiles() {
        folder_ =
            std::filesystem::path(::testing::TempDir()) /
            ("vistrel-script-files-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    ~ScriptFiles() override { std::filesystem::remove_all(folder_); }

    std::string write(const std::string& name, const std::string& text) {
        const std::filesystem::path path = folder_ / std::filesystem::path(std::u8string(name.begin(), name.end()));
        std::ofstream(path, std::ios::binary) << text;
        return reinterpret_cast<const char*>(path.u8string().c_str());
    }

    std::string errorOfOpening(const std::string& path) {
        try {
            openClip(path);
        } catch (const ScriptError& error) {
            return error.what();
        }
        return "(no error)";
    }

    std::filesystem::path folder_;
};

TEST_F(ScriptFiles, OpenRunsAScriptByItsExtensionInAnyCase) {
    for (const char* name : {"a.avs", "b.AVS", "c.Avs"}) {
        const std::string path = write(name, "blankclip(length=12)\r\n");
        EXPECT_EQ(openClip(path)->info().frameCount, 12) << name;
    }
}

TEST_F(ScriptFiles, ScriptPathsAreRecognisedByTheirLastExtension) {
    EXPECT_TRUE(isScriptPath("C:\\edits\\cut.avs"));
    EXPECT_TRUE(isScriptPath("x.AvS"));
    EXPECT_FALSE(isScriptPath("cut.avs.avi"));
    EXPECT_FALSE(isScriptPath("avs"));
    EXPECT_FALSE(isScriptPath(""));
}

TEST_F(ScriptFiles, ErrorsNameTheScriptAndLine) {
    const std::string path = write("broken.avs", "x = 1\r\nfoo()\r\n");
    EXPECT_EQ(errorOfOpening(path), "Script error: There is no function named 'foo'.\n(" + path + ", line 2)");
}

TEST_F(ScriptFiles, AScriptThatGivesNoClip) {
    const std::string path = write("value.avs", "blankclip()\r\noverlap=20\r\n");
    EXPECT_EQ(errorOfOpening(path), "The script's return value was not a video clip, (Is the undefined value).");
}

TEST_F(ScriptFiles, AMissingScriptSaysWhy) {
    const std::string path = (folder_ / "missing.avs").string();
    EXPECT_EQ(errorOfOpening(path), "AVISource: couldn't open file '" + path + "'\nNo such file or directory");
}

TEST_F(ScriptFiles, AFolderIsNotAScript) {
    const std::string path = (folder_ / "folder.avs").string();
    std::filesystem::create_directories(path);
    EXPECT_EQ(errorOfOpening(path), "AVISource: couldn't open file '" + path + "'\nIs a directory");
}

TEST_F(ScriptFiles, AByteOrderMarkIsSkipped) {
    const std::string path = write("bom.avs",
                                   "\xEF\xBB\xBF"
                                   "blankclip(length=5)\r\n");
    EXPECT_EQ(openClip(path)->info().frameCount, 5);
}

TEST_F(ScriptFiles, AnythingElseIsOpenedAsAMediaFile) {
    const std::string path = (folder_ / "missing.avi").string();
    const std::string message = errorOfOpening(path);
    EXPECT_EQ(message.rfind("AVISource: couldn't open file '" + path + "'", 0), 0u) << message;
    EXPECT_EQ(message.find(", line "), std::string::npos) << "no script, so no line";
}

TEST_F(ScriptFiles, ANameWithNonAsciiCharacters) {
    const std::string path = write("Aufnahme \xC3\xBC\xC3\xA9 \xE6\x98\xA0.avs", "blankclip(length=7)\r\n");
    EXPECT_EQ(openClip(path)->info().frameCount, 7);
}

TEST_F(ScriptFiles, AScriptMayLoadAnotherScript) {
    const std::string inner = write("inner.avs", "blankclip(length=30)\r\n");
    const std::string outer = write("outer.avs", "avisource(\"" + inner + "\").trim(10,0)\r\n");
    EXPECT_EQ(openClip(outer)->info().frameCount, 20);
}

TEST_F(ScriptFiles, RelativePathsStartFromTheScriptsFolder) {
    std::filesystem::create_directories(folder_ / "sub");
    write("sub/deeper.avs", "blankclip(length=4)\r\n");
    write("sub/inner.avs", "avisource(\"deeper.avs\") + avisource(\"deeper.avs\")\r\n");
    const std::string outer = write("outer.avs", "avisource(\"sub/inner.avs\")\r\n");
    EXPECT_EQ(openClip(outer)->info().frameCount, 8);
}

TEST_F(ScriptFiles, TheScriptFolderIsRestoredAfterwards) {
    const std::string path = write("plain.avs", "blankclip(length=3)\r\n");
    Environment env;
    env.scriptFolder = "/elsewhere";
    evaluateScriptFile(path, env);
    EXPECT_EQ(env.scriptFolder, std::filesystem::path("/elsewhere"));
    EXPECT_EQ(resolvePathInScript("a.avi", env), std::filesystem::path("/elsewhere/a.avi"));
    EXPECT_EQ(resolvePathInScript("/abs/a.avi", env), std::filesystem::path("/abs/a.avi"));
}

TEST_F(ScriptFiles, TheSameScriptTwiceIsNotALoop) {
    const std::string inner = write("inner.avs", "blankclip(length=30)\r\n");
    const std::string outer =
        write("outer.avs", "a = avisource(\"" + inner + "\")\r\nb = avisource(\"" + inner + "\")\r\na + b\r\n");
    EXPECT_EQ(openClip(outer)->info().frameCount, 60);
}

TEST_F(ScriptFiles, AnErrorInALoadedScriptNamesBothScripts) {
    const std::string inner = write("inner.avs", "\r\nnosuch()\r\n");
    const std::string outer = write("outer.avs", "x = 1\r\navisource(\"" + inner + "\")\r\n");
    EXPECT_EQ(errorOfOpening(outer),
              "Script error: There is no function named 'nosuch'.\n(" + inner + ", line 2)\n(" + outer + ", line 2)");
}

TEST_F(ScriptFiles, AScriptThatLoadsItselfIsAnErrorNotAHang) {
    const std::string path = (folder_ / "self.avs").string();
    write("self.avs", "avisource(\"" + path + "\")\r\n");
    EXPECT_EQ(errorOfOpening(path), "AVISource: script loads itself: '" + path + "'\n(" + path + ", line 1)");
}

TEST_F(ScriptFiles, ScriptsThatLoadEachOtherAreAnError) {
    const std::string first = (folder_ / "first.avs").string();
    const std::string second = (folder_ / "second.avs").string();
    write("first.avs", "avisource(\"" + second + "\")\r\n");
    write("second.avs", "avisource(\"" + first + "\")\r\n");
    EXPECT_EQ(errorOfOpening(first),
              "AVISource: script loads itself: '" + first + "'\n(" + second + ", line 1)\n(" + first + ", line 1)");
}

TEST_F(ScriptFiles, ALoopThroughAnotherSpellingOfThePathIsCaught) {
    const std::string path = (folder_ / "self.avs").string();
    const std::string otherSpelling = (folder_ / "." / "self.avs").string();
    write("self.avs", "avisource(\"" + otherSpelling + "\")\r\n");
    EXPECT_NE(errorOfOpening(path).find("AVISource: script loads itself"), std::string::npos);
}

TEST_F(ScriptFiles, EvaluatingAFileLeavesTheEnvironmentAsItWas) {
    const std::string path = write("plain.avs", "blankclip(length=3)\r\n");
    Environment env;
    evaluateScriptFile(path, env);
    EXPECT_EQ(env.scriptsLoading, nullptr);
    std::set<std::string> loading;
    env.scriptsLoading = &loading;
    evaluateScriptFile(path, env);
    EXPECT_TRUE(loading.empty()) << "the script is no longer loading once it has run";
}

// The player caches only what a script ends with; a script ending in a
// trim, which hands frames on, caches the steps before it as usual.
class ResultOnlyCache : public ::testing::TestWithParam<const char*> {};

TEST_P(ResultOnlyCache, KeepsTheFramesShown) {
    OpenOptions options;
    options.cacheResultOnly = true;
    const ClipPtr clip = openScriptText(GetParam(), "cached.avs", options);
    EXPECT_EQ(clip->frame(3), clip->frame(3)) << "the second ask is answered from the cache";
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, ResultOnlyCache,
    ::testing::Values(
        "blankclip(length=10, width=64, height=48, pixel_type=\"yv12\").converttorgb32().bilinearresize(32,24)",
        "blankclip(length=10, width=64, height=48, pixel_type=\"yv12\").converttorgb32().trim(2,0)"));

TEST(DefaultIndexFolder, FollowsTheCacheHome) {
    const char* saved = std::getenv("XDG_CACHE_HOME");
    const std::string restore = saved ? saved : "";
    setenv("XDG_CACHE_HOME", "/somewhere/cache", 1);
    EXPECT_EQ(defaultIndexFolder(), std::filesystem::path("/somewhere/cache/vistrel/index"));
    unsetenv("XDG_CACHE_HOME");
    EXPECT_EQ(defaultIndexFolder().filename(), "index");
    EXPECT_NE(defaultIndexFolder().string().find(".cache/vistrel/index"), std::string::npos);
    if (saved) setenv("XDG_CACHE_HOME", restore.c_str(), 1);
}

}  // namespace
}  // namespace vistrel::test
