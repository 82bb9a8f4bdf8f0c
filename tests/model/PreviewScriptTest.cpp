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

class PreviewScriptTest : public ::testing::Test {
protected:
    void SetUp() override {
        edit.initialise();
        locations = ScriptLocations::inFolder(tempDir.filePath("vistrel").toStdString());
    }

    void addClip(const std::string& path, const std::string& startFrame) {
        openDialog.answers.push_back(path);
        edit.addClip(openDialog, messages);
        edit.setStartFrame(edit.clips().count() - 1, startFrame);
    }

    // Three clips at 0, 120 and 45, overlap "20", fade out only.
    void makeExampleEdit() {
        addClip("D:\\shoot\\cam1.avi", "0");
        addClip("D:\\shoot\\cam2.avi", "120");
        addClip("D:\\shoot\\cam3.avi", "45");
        edit.fadeOutToggled(CheckValue::Ticked);
    }

    Texts introCalls() const { return {"stop", "filename " + locations.introPlayerPath}; }
    Texts previewCalls() const {
        return {"stop", "filename " + locations.introPlayerPath, "filename " + locations.previewPlayerPath, "play"};
    }

    Edit edit;
    RecordingPlayer player;
    QueuedFileDialog openDialog;
    RecordingMessages messages;
    QTemporaryDir tempDir;
    ScriptLocations locations;
};

const std::string examplePreview =
    "overlap=20\r\n"
    "angle0=avisource(\"D:\\shoot\\cam1.avi\").bilinearresize(176,120).converttorgb32().trim(0,0)\r\n"
    "angle1=avisource(\"D:\\shoot\\cam2.avi\").bilinearresize(176,120).converttorgb32().trim(120,0)\r\n"
    "angle2=avisource(\"D:\\shoot\\cam3.avi\").bilinearresize(176,120).converttorgb32().trim(45,0)\r\n"
    "bc=blankclip(angle0.framecount(),176,120,\"rgb32\",angle0.framerate())\r\n"
    "stackhorizontal(angle0,angle1,angle2,bc)\r\n"
    "\r\n"
    "fadeout(overlap)\r\n";

}  // namespace

TEST_F(PreviewScriptTest, WorkedExampleByteForByte) {
    makeExampleEdit();
    EXPECT_EQ(previewScriptText(edit), examplePreview);
    EXPECT_EQ(previewScriptText(edit).size(), 417u);
}

// Two clips: two blank columns; typed values verbatim; fade in alone.
TEST_F(PreviewScriptTest, TwoClipsWithOddValuesByteForByte) {
    addClip("/my clips/a & b.avi", " 12 ");
    addClip("/b.avi", "abc");
    edit.overlap().setText(" 2 0");
    edit.fadeInToggled(CheckValue::Ticked);
    EXPECT_EQ(previewScriptText(edit),
              "overlap= 2 0\r\n"
              "angle0=avisource(\"/my clips/a & b.avi\").bilinearresize(176,120).converttorgb32().trim( 12 ,0)\r\n"
              "angle1=avisource(\"/b.avi\").bilinearresize(176,120).converttorgb32().trim(abc,0)\r\n"
              "bc=blankclip(angle0.framecount(),176,120,\"rgb32\",angle0.framerate())\r\n"
              "stackhorizontal(angle0,angle1,bc,bc)\r\n"
              "fadein(overlap)\r\n"
              "\r\n");
}

TEST_F(PreviewScriptTest, FourClipsNeedNoBlankColumnButStillDefineIt) {
    for (const char* path : {"/a.avi", "/b.avi", "/c.avi", "/d.avi"}) addClip(path, "0");
    const std::string text = previewScriptText(edit);
    EXPECT_NE(text.find("\r\nbc=blankclip("), std::string::npos);
    EXPECT_TRUE(text.ends_with("\r\nstackhorizontal(angle0,angle1,angle2,angle3)\r\n\r\n\r\n")) << text;
}

TEST_F(PreviewScriptTest, PreviewWritesTheScriptThenOpensAndPlaysItEachTime) {
    makeExampleEdit();
    ShowPreview(edit, player, messages, locations);
    ShowPreview(edit, player, messages, locations);
    Texts twice = previewCalls();
    for (const auto& call : previewCalls()) twice.push_back(call);
    EXPECT_EQ(player.calls, twice);
    EXPECT_EQ(readBytes(locations.previewPath), examplePreview);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PreviewScriptTest, TooFewClipsStopsOnTheIntroAndLeavesTheEarlierScript) {
    ShowPreview(edit, player, messages, locations);
    EXPECT_FALSE(fs::exists(locations.previewPath));
    makeExampleEdit();
    ShowPreview(edit, player, messages, locations);
    edit.removeClip(0);
    edit.removeClip(0);
    player.calls.clear();
    ShowPreview(edit, player, messages, locations);
    EXPECT_EQ(player.calls, introCalls());
    EXPECT_EQ(messages.shown, Texts(2, "Please have at least 2 clips in the file list before editing."));
    EXPECT_EQ(readBytes(locations.previewPath), examplePreview);
}

TEST_F(PreviewScriptTest, UnwritableScriptIsReportedAndPlayerStaysOnTheIntro) {
    makeExampleEdit();
    writeBytes(locations.folder, "a file where the folder should be");
    ShowPreview(edit, player, messages, locations);
    EXPECT_EQ(player.calls, introCalls());
    EXPECT_EQ(messages.shown,
              Texts{"The preview script could not be written: " + locations.previewPath + ": Not a directory"});
}
