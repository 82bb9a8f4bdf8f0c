// Statements, variables, `last`, the script's value, names and calls.
#include "engine/Script.h"
#include "engine/core/FrameCache.h"
#include "engine/core/ScriptError.h"
#include "engine/script/ScriptHarness.h"

#include <gtest/gtest.h>

namespace vistrel::test {
namespace {

using engine::ClipPtr;
using engine::Value;

class Evaluation : public ::testing::Test {
protected:
    ScriptHarness script;
};

TEST_F(Evaluation, TheScriptsValueIsTheFinalStatementNotLast) {
    EXPECT_FALSE(engine::isDefined(script.run("TestClip()\noverlap=20\n")));
    EXPECT_EQ(asInt(script.run("TestClip()\n3+4\n\n# trailing comment\n")), 7);
}

TEST_F(Evaluation, EveryStatementButTheFinalOneSetsLastFromAClip) {
    ClipPtr clip = script.runClip("TestClip(frames=10)\nx = 1\nlast");
    EXPECT_EQ(clip->info().frameCount, 10);
    clip = script.runClip("TestClip(frames=10)\nTestClip(frames=20)\nlast");
    EXPECT_EQ(clip->info().frameCount, 20);
}

TEST_F(Evaluation, AssignmentsNeverSetLast) {
    EXPECT_EQ(script.errorOf("a = TestClip()\nlast"), "I don't know what 'last' means.\n(test.avs, line 2)");
    EXPECT_EQ(script.errorOf("3\nlast"), "I don't know what 'last' means.\n(test.avs, line 2)") << "not a clip";
}

TEST_F(Evaluation, ReturnEndsTheScriptWithItsValue) {
    EXPECT_EQ(asInt(script.run("return 1\nnosuch()\n")), 1);
    EXPECT_EQ(asInt(script.run("x = 2\nreturn x * 3\nx = 5")), 6);
    EXPECT_EQ(script.errorOf("return 1\nx = (\n"), "Script error: syntax error\n(test.avs, line 2, column 0)");
}

TEST_F(Evaluation, TwoStatementsOnOneLine) { EXPECT_EQ(asInt(script.run("a=1 b=2\na+b")), 3); }

TEST_F(Evaluation, NamesIgnoreCase) {
    EXPECT_EQ(asInt(script.run("Foo = 3\nfOO")), 3);
    EXPECT_EQ(asInt(script.run("TESTCLIP(FRAMES=12).FrameCount")), 12);
    EXPECT_EQ(asInt(script.run("testclip(Frames=12).fRAMEcOUNT()")), 12);
}

TEST_F(Evaluation, GlobalVariables) {
    EXPECT_EQ(asInt(script.run("global g = 5\ng + 1")), 6);
    EXPECT_EQ(asInt(script.run("global g = 5\ng = 7\ng")), 7) << "a local of the same name is found first";
}

TEST_F(Evaluation, BareNameIsAVariableFirst) {
    EXPECT_EQ(asInt(script.run("framecount = 4\nTestClip()\nframecount")), 4);
}

TEST_F(Evaluation, BareNameCallsAFunctionWithoutArguments) {
    EXPECT_EQ(script.runClip("TestClip")->info().frameCount, 50);
}

TEST_F(Evaluation, BareNameCallsAFunctionOnLast) {
    EXPECT_EQ(asInt(script.run("TestClip(frames=20)\nframecount")), 20);
    EXPECT_FALSE(script.runClip("TestClip()\nkillaudio")->info().hasAudio());
}

TEST_F(Evaluation, UnknownBareName) {
    EXPECT_EQ(script.errorOf("xyz"), "I don't know what 'xyz' means.\n(test.avs, line 1)");
    EXPECT_EQ(script.errorOf("framecount"), "I don't know what 'framecount' means.\n(test.avs, line 1)")
        << "a function that needs a clip, and no last";
}

TEST_F(Evaluation, CallsAreMatchedWithoutLastFirst) {
    // AudioDub(v, a) works on its own, so last is not put in front.
    ClipPtr clip = script.runClip(
        "TestClip(frames=5)\n"
        "v = TestClip(frames=10, audio_rate=0)\n"
        "a = TestClip(frames=30, video=false)\n"
        "audiodub(v, a)");
    EXPECT_EQ(clip->info().frameCount, 10);
    EXPECT_EQ(clip->info().audioSamples, 30 * 2000);
}

TEST_F(Evaluation, ImplicitLastWhenTheCallDoesNotMatchAlone) {
    EXPECT_EQ(script.runClip("TestClip(frames=30)\ntrim(5,9)")->info().frameCount, 5);
    EXPECT_EQ(script.errorOf("trim(5,9)"), "Script error: Invalid arguments to function 'trim'.\n(test.avs, line 1)");
}

TEST_F(Evaluation, DotCallsNeverGetLast) {
    const char* setup =
        "TestClip(frames=30, video=false)\n"
        "v = TestClip(frames=10, audio_rate=0)\n";
    EXPECT_EQ(script.errorOf(std::string(setup) + "v.audiodub()"),
              "Script error: Invalid arguments to function 'audiodub'.\n(test.avs, line 3)");
    ClipPtr dubbed = script.runClip(std::string(setup) + "audiodub(v)");
    EXPECT_EQ(dubbed->info().frameCount, 10);
    EXPECT_TRUE(dubbed->info().hasAudio());
}

TEST_F(Evaluation, DotCallWithoutParentheses) {
    EXPECT_EQ(asInt(script.run("a = TestClip(frames=7)\na.framecount")), 7);
}

TEST_F(Evaluation, FunctionNamesInErrorsAreSpelledAsInTheScript) {
    EXPECT_EQ(script.errorOf("FOO()"), "Script error: There is no function named 'FOO'.\n(test.avs, line 1)");
    EXPECT_EQ(script.errorOf("TRIM(1)"), "Script error: Invalid arguments to function 'TRIM'.\n(test.avs, line 1)");
}

TEST_F(Evaluation, RuntimeErrorsNameTheLastLineOfAContinuedStatement) {
    EXPECT_EQ(script.errorOf("a = 1\nb = foo(1, \\\n  2)\nc = 3\n", "C:\\edits\\cut.avs"),
              "Script error: There is no function named 'foo'.\n(C:\\edits\\cut.avs, line 3)");
    EXPECT_EQ(script.errorOf("a = 1\nb = foo(1,\n\\ 2,\n\\ 3)\n"),
              "Script error: There is no function named 'foo'.\n(test.avs, line 4)");
}

TEST_F(Evaluation, FilterErrorsKeepTheirOwnText) {
    EXPECT_EQ(script.errorOf("a = TestClip()\na.trim(5)"),
              "Script error: Invalid arguments to function \"Trim\"\n(test.avs, line 2)");
}

TEST_F(Evaluation, WrongTypeNamedArgument) {
    EXPECT_EQ(
        script.errorOf("TestClip(frames=\"x\")"),
        "Script error: the named argument \"frames\" to TestClip had the wrong type (passed 's')\n(test.avs, line 1)");
}

TEST_F(Evaluation, WrongTypeNamedArgumentToARealFunction) {
    EXPECT_EQ(
        script.errorOf("BlankClip(length=\"x\")"),
        "Script error: the named argument \"length\" to BlankClip had the wrong type (passed 's')\n(test.avs, line 1)");
}

TEST_F(Evaluation, ClipsMadeByCallsShareTheScriptsCache) {
    script.env.cache = std::make_shared<engine::FrameCache>();
    ClipPtr clip = script.runClip("TestClip()");
    clip->frame(3);
    clip->frame(3);
    EXPECT_EQ(std::dynamic_pointer_cast<IndexedClip>(clip)->framesMade(), 1);
}

TEST_F(Evaluation, FiltersThatPassFramesOnDoNotCacheThemAgain) {
    script.env.cache = std::make_shared<engine::FrameCache>();
    ClipPtr trimmed = script.runClip("TestClip(frames=10).Trim(2,5)");
    trimmed->frame(1);
    EXPECT_EQ(script.env.cache->bytesUsed(), trimmed->frame(1)->byteSize()) << "one copy, kept for the source";
}

TEST_F(Evaluation, ACacheForSmallPicturesKeepsNoLargerFrame) {
    script.env.cache = std::make_shared<engine::FrameCache>(size_t(4) << 20, 100'000);
    const ClipPtr large = script.runClip("small=TestClip(frames=10)\nsmall.BilinearResize(400,300)");
    large->frame(4);
    EXPECT_LT(script.env.cache->bytesUsed(), 100'000u) << "only the small source frame";
    EXPECT_GT(script.env.cache->bytesUsed(), 0u);
}

TEST(ScriptValue, NotAClipWhereAClipIsNeeded) {
    engine::Environment env;
    const auto messageOf = [&](const char* text) {
        try {
            engine::evaluateScriptClip(text, "cut.avs", env);
        } catch (const engine::ScriptError& error) {
            return std::string(error.what());
        }
        return std::string("(no error)");
    };
    EXPECT_EQ(messageOf("overlap=20\r\n"), "The script's return value was not a video clip, (Is the undefined value).");
    EXPECT_EQ(messageOf("3+4"), "The script's return value was not a video clip, (Is an int, 7).");
    EXPECT_EQ(messageOf(""), "The script's return value was not a video clip, (Is the undefined value).");
}

}  // namespace
}  // namespace vistrel::test
