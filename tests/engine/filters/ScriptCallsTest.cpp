// The filters as scripts call them: argument binding, implicit last and the
// texts a user sees.
#include "TestClips.h"
#include "engine/Script.h"
#include "engine/filters/FunctionTable.h"

#include <gtest/gtest.h>

namespace {

using namespace vistrel::engine;
using vistrel::test::scriptErrorOf;
using vistrel::test::shapeOf;

class ScriptCalls : public ::testing::Test {
protected:
    Environment env;

    ClipPtr run(const std::string& text) { return evaluateScriptClip(text, "calls.avs", env); }
    std::string errorOf(const std::string& text) {
        return scriptErrorOf([&] { run(text); });
    }
};

constexpr const char* kNtscSource = "a = blankclip(length=100, fps=30000, fps_denominator=1001, audio_rate=48000)\n";

TEST_F(ScriptCalls, PreviewBlankClipHasNoTemplateAndTheFloatRate) {
    ClipPtr bc = run(std::string(kNtscSource) + "blankclip(a.framecount(),176,120,\"rgb32\",a.framerate())\n");
    const VideoInfo& vi = bc->info();
    EXPECT_EQ(shapeOf(vi), "176x120 RGB32 15712927/524288 fps 100 frames, 44100 Hz 1 ch int16 147147 samples")
        << "44100 Hz, not the source's 48 kHz: there is no template";
}

TEST_F(ScriptCalls, LastIsNeverTheTemplate) {
    ClipPtr bc = run(std::string(kNtscSource) + "a\nblankclip(a.framecount(),176,120,\"rgb32\",a.framerate())\n");
    EXPECT_EQ(bc->info().audioRate, 44100);
    EXPECT_EQ(bc->info().audioSamples, 147147);
}

TEST_F(ScriptCalls, UnknownPixelTypeNamesTheLine) {
    EXPECT_EQ(errorOf("\nblankclip(pixel_type=\"XYZ\")\n"),
              "BlankClip: pixel_type must be \"RGB32\", \"RGB24\", \"YV12\" or \"YUY2\"\n(calls.avs, line 2)");
}

TEST_F(ScriptCalls, TwoTemplatesAreRefused) {
    EXPECT_EQ(errorOf("a = blankclip()\nblankclip(a, a)\n"),
              "BlankClip: Only 1 Template clip allowed.\n(calls.avs, line 2)");
}

TEST_F(ScriptCalls, BlankClipCannotDissolveWithAStereo48kHzClip) {
    EXPECT_EQ(errorOf("dissolve(blankclip(), blankclip(audio_rate=48000, stereo=true), 5)"),
              "Dissolve: The number of audio channels doesn't match\n(calls.avs, line 1)");
    EXPECT_EQ(errorOf("dissolve(blankclip(), blankclip(audio_rate=48000), 5)"),
              "Dissolve: The audio of the two clips have different samplerates! Use SSRC()/ResampleAudio()\n"
              "(calls.avs, line 1)");
    EXPECT_EQ(errorOf("dissolve(blankclip(), blankclip(audio_rate=0), 5)"),
              "Dissolve: one clip has audio and the other doesn't (not allowed)\n(calls.avs, line 1)");
}

TEST_F(ScriptCalls, StackHorizontalNeedsTwoClips) {
    EXPECT_EQ(errorOf("a = blankclip()\na.stackhorizontal()\n"),
              "Script error: Invalid arguments to function 'stackhorizontal'.\n(calls.avs, line 2)");
}

TEST_F(ScriptCalls, StackHorizontalOfOneClipStacksItBesideLast) {
    ClipPtr c = run("a = blankclip(width=100)\nblankclip(width=60)\nstackhorizontal(a)\n");
    EXPECT_EQ(c->info().width, 160);
}

TEST_F(ScriptCalls, FadeInAppliesToLast) {
    ClipPtr c = run("overlap = 20\nblankclip(length=50)\nfadein(overlap)\n");
    EXPECT_EQ(c->info().frameCount, 51);
}

TEST_F(ScriptCalls, IntroScriptIs704x120Rgb32For240FramesWithoutSound) {
    ClipPtr intro =
        run("version().addborders(122,20,122,20).converttorgb32()\r\n"
            "subtitle(\"Vistrel is powered by:\", text_color=$ffffff)\r\n");
    const VideoInfo& vi = intro->info();
    EXPECT_EQ(shapeOf(vi), "704x120 RGB32 24/1 fps 240 frames, no sound");
}

TEST_F(ScriptCalls, OddBordersOnYv12NameTheSide) {
    const std::string yv12 = "blankclip(width=64, height=48, pixel_type=\"yv12\")";
    EXPECT_EQ(errorOf(yv12 + ".addborders(1,0,0,0)"),
              "AddBorders: YUV image can only add by Mod 2 (left side).\n(calls.avs, line 1)");
    EXPECT_EQ(errorOf(yv12 + ".addborders(0,0,1,0)"),
              "AddBorders: YUV image can only add by Mod 2 (right side).\n(calls.avs, line 1)");
    EXPECT_EQ(errorOf(yv12 + ".addborders(0,1,0,0)"),
              "AddBorders: YUV image can only add by Mod 2 (top).\n(calls.avs, line 1)");
    EXPECT_EQ(errorOf(yv12 + ".addborders(0,0,0,1)"),
              "AddBorders: YUV image can only add by Mod 2 (bottom).\n(calls.avs, line 1)");
}

TEST_F(ScriptCalls, PreviewChainOfOneAngle) {
    ClipPtr c =
        run("angle0 = blankclip(length=300, width=720, height=480, pixel_type=\"YV12\", fps=25)\n"
            "angle0 = angle0.bilinearresize(176,120).converttorgb32().trim(10,0)\n"
            "bc = blankclip(angle0.framecount(),176,120,\"rgb32\",angle0.framerate())\n"
            "stackhorizontal(angle0, bc).fadein(20)\n");
    EXPECT_EQ(c->info().width, 352);
    EXPECT_EQ(c->info().height, 120);
    EXPECT_EQ(c->info().frameCount, 291);
    EXPECT_EQ(c->info().pixelType, PixelType::RGB32);
}

}  // namespace
