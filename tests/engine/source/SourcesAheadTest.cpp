// Opening a script's angles side by side: which calls are opened ahead, and
// that a script gets the same clips and the same errors either way.
#include "SourceFixture.h"
#include "engine/Script.h"
#include "engine/source/SourcesAhead.h"

namespace vistrel::test {
namespace {

using engine::SourcesAhead;

TEST(SourcesAheadNames, OnlyPlainCallsWithOneFileNameEachOnce) {
    const std::string text =
        "a=AviSource(\"one.avi\").trim(0,0)  # avisource(\"commented.avi\")\r\n"
        "b=avisource(\"two.avi\", audio=false)\r\n"
        "c=avisource(\"three.avi\", \"four.avi\")\r\n"
        "d=AVISOURCE(\"one.avi\")\r\n"
        "e=avisource(\"clip.avs\")\r\n"
        "f=avisource(name)\r\n";
    EXPECT_EQ(SourcesAhead::plainSourceNames(text), (std::vector<std::string>{"one.avi", "clip.avs"}));
}

TEST(SourcesAheadNames, ASyntaxErrorEndsTheScanWithoutAnError) {
    EXPECT_EQ(SourcesAhead::plainSourceNames("avisource(\"one.avi\")\r\nx = \"unterminated\r\navisource(\"two.avi\")"),
              std::vector<std::string>{"one.avi"});
}

class SourcesAheadTest : public SourceTest {
protected:
    engine::Environment environment() const {
        engine::Environment env;
        env.indexFolder = indexFolder();
        return env;
    }
    static std::string plainCall(const std::filesystem::path& file) { return "avisource(\"" + file.string() + "\")"; }
};

TEST_F(SourcesAheadTest, FilesWithAStoredIndexAreOpenedAheadAndHandedOutOnce) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::h264Mp4());
    const engine::Environment env = environment();
    {
        SourcesAhead before(plainCall(file), env);
        EXPECT_EQ(before.take(file.string()), nullptr) << "no index stored yet: the script opens it, with progress";
    }
    open(file);  // stores the index
    SourcesAhead ahead(plainCall(file) + "\r\n" + plainCall(scratchFolder() / "missing.avi"), env);
    const auto clip = ahead.take(file.string());
    ASSERT_NE(clip, nullptr);
    EXPECT_EQ(readFrameIndex(*clip->frame(17)), 17);
    EXPECT_EQ(ahead.take(file.string()), nullptr);
    EXPECT_EQ(ahead.take((scratchFolder() / "missing.avi").string()), nullptr);
}

TEST_F(SourcesAheadTest, AScriptOfManyFilesOpensOnlyTheFirstFewAhead) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::h264Mp4());
    open(file);
    // One file spelt many ways: each spelling is a call of its own, with the same stored index.
    std::vector<std::string> names;
    std::string text;
    for (size_t i = 0; i < SourcesAhead::kMostOpenedAhead + 3; ++i) {
        std::string folder = file.parent_path().string();
        for (size_t dots = 0; dots <= i; ++dots) folder += "/.";
        names.push_back(folder + "/" + file.filename().string());
        text += "avisource(\"" + names.back() + "\")\r\n";
    }
    SourcesAhead ahead(text, environment());
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(ahead.take(names[i]) != nullptr, i < SourcesAhead::kMostOpenedAhead) << names[i];
}

TEST_F(SourcesAheadTest, AScriptOfTwoAnglesGetsItsFramesAndErrorsAsWithoutIt) {
    VISTREL_TEST_MEDIA_OR_SKIP(first, recipes::h264Mp4());
    VISTREL_TEST_MEDIA_OR_SKIP(second, recipes::ffv1Avi());
    open(first);
    open(second);
    engine::Environment env = environment();
    const std::string angles = plainCall(first) + ".bilinearresize(176,120).converttorgb32()\r\n";
    const std::string script = "a=" + angles + "b=" + plainCall(second) +
                               ".bilinearresize(176,120).converttorgb32()\r\nstackhorizontal(a,b)\r\n";
    const engine::ClipPtr stack = engine::evaluateScriptClip(script, "two.avs", env);
    EXPECT_EQ(stack->info().width, 352);
    EXPECT_EQ(stack->info().frameCount, std::max(open(first)->info().frameCount, open(second)->info().frameCount));
    EXPECT_EQ(env.sourcesAhead, nullptr) << "the script's own sources outlive it";

    // A failure before the angles are reached is the script's own error, with its line.
    try {
        engine::evaluateScriptClip("x = nosuchfunction()\r\n" + angles, "bad.avs", env);
        FAIL() << "no error";
    } catch (const engine::ScriptError& e) {
        EXPECT_NE(std::string(e.what()).find("(bad.avs, line 1)"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace vistrel::test
