// The scripts Vistrel writes, run for real on generated clips whose frames
// show their index: frame counts, and which clip frame appears where.
#include "engine/Open.h"
#include "engine/core/ScriptError.h"
#include "engine/script/WrittenScripts.h"
#include "support/ClipContract.h"
#include "support/FrameIndexPattern.h"
#include "support/IndexedClip.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vistrel::test {
namespace {

using namespace vistrel::engine;

MediaRecipe angleRecipe(const std::string& name, int frames) {
    MediaRecipe recipe = recipes::ffv1Avi();
    recipe.name = "script-" + name;
    recipe.frames = frames;
    return recipe;
}

class WrittenScriptRun : public ::testing::Test {
protected:
    // Writes the script beside the test's other files and opens it as the player would.
    ClipPtr open(const std::string& name, const std::string& text) {
        const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "vistrel-written-scripts";
        std::filesystem::create_directories(folder);
        const std::filesystem::path path = folder / name;
        std::ofstream(path, std::ios::binary) << text;
        try {
            return openClip(path.string());
        } catch (const ScriptError& error) {
            if (std::string(error.what()).find("not available yet") != std::string::npos) {
                skipReason_ = error.what();
                return nullptr;
            }
            throw;
        }
    }

    std::string skipReason_;
};

#define OPEN_OR_SKIP(clip, name, text)   \
    ClipPtr clip = open((name), (text)); \
    if (!clip) GTEST_SKIP() << skipReason_

int indexAt(Clip& clip, int64_t n) { return readFrameIndex(*clip.frame(n)); }

TEST_F(WrittenScriptRun, EditScriptCutsAndJoinsTheAngles) {
    VISTREL_TEST_MEDIA_OR_SKIP(a, angleRecipe("a", 620));
    VISTREL_TEST_MEDIA_OR_SKIP(b, angleRecipe("b", 720));
    EditScriptInput input;
    input.clips = {a.string(), b.string()};
    input.startFrames = {"0", "150"};
    input.switches = {"00000000|A", "00000300|B", "00000500|A"};
    input.fadeIn = "fadein(overlap)";
    OPEN_OR_SKIP(edit, "edit.avs", editScript(input));

    // The joined video has 620 frames; the fade in puts one black frame in front.
    ASSERT_EQ(edit->info().frameCount, 621);
    EXPECT_EQ(edit->info().width, 320);
    EXPECT_EQ(edit->info().fps, (Rational{25, 1}));
    const auto editFrame = [&](int64_t f) { return indexAt(*edit, f + 1); };
    EXPECT_EQ(indexAt(*edit, 0), kNoFrameIndex) << "black";
    for (int64_t f : {20, 100, 280}) EXPECT_EQ(editFrame(f), f) << "angle A, frame " << f;
    for (int64_t f : {301, 399, 480}) EXPECT_EQ(editFrame(f), 150 + f) << "angle B, frame " << f;
    for (int64_t f : {501, 560, 619}) EXPECT_EQ(editFrame(f), f) << "angle A again, frame " << f;
    EXPECT_EQ(indexAt(*edit, 5000), 619) << "past the end";

    // The first clip's sound, one frame late after the fade's extra frame.
    const int64_t oneFrame = 44100 / 25;
    EXPECT_EQ(edit->info().channels, 2);
    EXPECT_EQ(edit->info().audioSamples, oneFrame + 620 * oneFrame);
    EXPECT_EQ(readSamples(*edit, 500000, 1, 1), (std::vector<int>{testSample(500000 - oneFrame, 1)}));
    expectClipKeepsItsContract(*edit);
}

TEST_F(WrittenScriptRun, EditWithAnEarlySwitchTrimsFromBeforeTheClip) {
    VISTREL_TEST_MEDIA_OR_SKIP(a, angleRecipe("a", 620));
    VISTREL_TEST_MEDIA_OR_SKIP(b, angleRecipe("b", 720));
    EditScriptInput input;
    input.clips = {a.string(), b.string()};
    input.startFrames = {"0", "150"};
    input.switches = {"00000000|A",
                      "00000010|B"};  // B's segment is trim(-9,0); A's 11 frames are shorter than the overlap
    const std::string text = editScript(input);
    ASSERT_NE(text.find("B1=angleB.trim(-9,0)"), std::string::npos);
    OPEN_OR_SKIP(edit, "early.avs", text);

    ASSERT_EQ(edit->info().frameCount, 570) << "all of A blends into B";
    EXPECT_EQ(indexAt(*edit, 11), 161);
    EXPECT_EQ(indexAt(*edit, 569), 719);
    EXPECT_EQ(edit->info().audioSamples, 620 * 1764);
    expectClipKeepsItsContract(*edit);
}

TEST_F(WrittenScriptRun, PreviewShowsTheAnglesSideBySideInStep) {
    VISTREL_TEST_MEDIA_OR_SKIP(cam1, angleRecipe("cam1", 300));
    VISTREL_TEST_MEDIA_OR_SKIP(cam2, angleRecipe("cam2", 400));
    VISTREL_TEST_MEDIA_OR_SKIP(cam3, angleRecipe("cam3", 350));
    const std::string text =
        previewScript({cam1.string(), cam2.string(), cam3.string()}, {"0", "120", "45"}, "20", "", "fadeout(overlap)");
    OPEN_OR_SKIP(preview, "preview.avs", text);

    // Angles of 300, 280 and 305 frames: the longest sets the length, the fade out adds one.
    ASSERT_EQ(preview->info().frameCount, 306);
    EXPECT_EQ(preview->info().width, 704);
    EXPECT_EQ(preview->info().height, 120);
    EXPECT_EQ(preview->info().pixelType, PixelType::RGB32);
    const auto column = [&](int64_t k, int c) { return readFrameIndex(*preview->frame(k), c * 176, 176); };
    for (int64_t k : {0, 100, 250}) {
        EXPECT_EQ(column(k, 0), k) << k;
        EXPECT_EQ(column(k, 1), 120 + k) << k;
        EXPECT_EQ(column(k, 2), 45 + k) << k;
        EXPECT_EQ(column(k, 3), kNoFrameIndex) << "the blank column";
    }
    EXPECT_EQ(column(282, 0), 282);
    EXPECT_EQ(column(282, 1), 399) << "a shorter angle holds its last frame";
    EXPECT_EQ(column(282, 2), 327);
    EXPECT_EQ(preview->info().audioSamples, 285 * 1764 + 21 * 1764) << "the first angle's sound under the fade out";
    expectClipKeepsItsContract(*preview);
}

TEST_F(WrittenScriptRun, PreviewOfFourAngles) {
    std::vector<std::string> paths;
    for (int i = 0; i < 4; ++i) {
        VISTREL_TEST_MEDIA_OR_SKIP(path, angleRecipe("quad" + std::to_string(i), 60 + 10 * i));
        paths.push_back(path.string());
    }
    OPEN_OR_SKIP(preview, "preview4.avs", previewScript(paths, {"0", "5", "10", "15"}, "20", "fadein(overlap)", ""));
    ASSERT_EQ(preview->info().frameCount, 76);  // the longest angle, 90 - 15 frames, and the fade's black frame
    EXPECT_EQ(readFrameIndex(*preview->frame(30), 3 * 176, 176), 15 + 29);
}

TEST_F(WrittenScriptRun, IntroIsATitleCard) {
    OPEN_OR_SKIP(intro, "intro.avs", introScript());
    EXPECT_EQ(intro->info().width, 704);
    EXPECT_EQ(intro->info().height, 120);
    EXPECT_EQ(intro->info().pixelType, PixelType::RGB32);
    EXPECT_EQ(intro->info().fps, (Rational{24, 1}));
    EXPECT_EQ(intro->info().frameCount, 240);
    EXPECT_FALSE(intro->info().hasAudio());
    expectClipKeepsItsContract(*intro);
}

}  // namespace
}  // namespace vistrel::test
