#include "model/Messages.h"
#include "model/ModelFakes.h"
#include "model/ScriptOperations.h"
#include "model/Scripts.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

using namespace vistrel::model;
using namespace vistrel::model::testing;
namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

namespace {

class EditScriptTest : public ::testing::Test {
protected:
    void SetUp() override { edit.initialise(); }

    void addClip(const std::string& path, const std::string& startFrame) {
        openDialog.answers.push_back(path);
        edit.addClip(openDialog, messages);
        edit.setStartFrame(edit.clips().count() - 1, startFrame);
    }

    void addSwitchPoints(std::initializer_list<std::pair<const char*, char>> points) {
        for (const auto& [reply, angle] : points) {
            player.positionReplies.push_back(reply);
            edit.addSwitchPoint(angle, player);
        }
    }

    // Two clips at 0 and 150, switch points 0|A, 300|B, 500|A, fade in only.
    void makeExampleEdit() {
        addClip("C:\\clips\\a.avi", "0");
        addClip("C:\\clips\\b.avi", "150");
        addSwitchPoints({{"300", 'B'}, {"500", 'A'}});
        edit.fadeInToggled(CheckValue::Ticked);
    }

    std::string pathIn(const char* name) const { return tempDir.filePath(name).toStdString(); }

    Edit edit;
    RecordingPlayer player;
    QueuedFileDialog openDialog;
    QueuedFileDialog saveDialog;
    RecordingMessages messages;
    QTemporaryDir tempDir;
};

int countLines(const std::string& text) {
    int lines = 0;
    for (auto at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++lines;
    return lines;
}

const std::string exampleScript =
    "overlap=20\r\n"
    "audio=avisource(\"C:\\clips\\a.avi\")\r\n"
    "#-=-=-=-=-=-=-=-=-=angle A=-=-=-=-=-=-=-=-=-=-=-\r\n"
    "angleA=avisource(\"C:\\clips\\a.avi\").killaudio().trim(0,0)\r\n"
    "\r\n"
    "A0=angleA.trim(0,300)\r\n"
    "A1=angleA.trim(281,500)\r\n"
    "A2=angleA.trim(481,0)\r\n"
    "#-=-=-=-=-=-=-=-=-=angle B=-=-=-=-=-=-=-=-=-=-=-\r\n"
    "angleB=avisource(\"C:\\clips\\b.avi\").killaudio().trim(150,0)\r\n"
    "\r\n"
    "B0=angleB.trim(0,300)\r\n"
    "B1=angleB.trim(281,500)\r\n"
    "B2=angleB.trim(481,0)\r\n"
    "#-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=\r\n"
    "video=dissolve(A0, B1, A2, overlap)\r\n"
    "audiodub(video,audio)\r\n"
    "fadein(overlap)\r\n"
    "\r\n";

}  // namespace

TEST(SegmentStartTest, HalvesGoToTheEvenNeighbourAndHugeValuesSaturate) {
    EXPECT_EQ(segmentStart(300, 20.5), 280);
    EXPECT_EQ(segmentStart(301, 20.5), 282);
    EXPECT_EQ(segmentStart(10, 20.5), -10);
    EXPECT_EQ(segmentStart(300, 0), 301);
    EXPECT_EQ(roundHalfToEven(2.4999), 2);
    EXPECT_EQ(roundHalfToEven(1e300), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(roundHalfToEven(-1e300), std::numeric_limits<std::int64_t>::min());
}

TEST_F(EditScriptTest, WorkedExampleByteForByte) {
    makeExampleEdit();
    const std::string text = editScriptText(edit);
    EXPECT_EQ(text, exampleScript);
    EXPECT_EQ(text.size(), 539u);
}

// Starts past the old 16-bit limit, an angle that no switch point chooses,
// the sound from the first clip only, fade out alone.
TEST_F(EditScriptTest, LongEditWithUnusedAngleByteForByte) {
    addClip("/cam/a.avi", "0");
    addClip("/cam/b.avi", "150");
    addClip("/cam/c.avi", "45");
    addSwitchPoints({{"32787", 'B'}, {"99990", 'A'}, {"100000", 'B'}});
    edit.fadeOutToggled(CheckValue::Ticked);
    EXPECT_EQ(editScriptText(edit),
              "overlap=20\r\n"
              "audio=avisource(\"/cam/a.avi\")\r\n"
              "#-=-=-=-=-=-=-=-=-=angle A=-=-=-=-=-=-=-=-=-=-=-\r\n"
              "angleA=avisource(\"/cam/a.avi\").killaudio().trim(0,0)\r\n"
              "\r\n"
              "A0=angleA.trim(0,32787)\r\n"
              "A1=angleA.trim(32768,99990)\r\n"
              "A2=angleA.trim(99971,100000)\r\n"
              "A3=angleA.trim(99981,0)\r\n"
              "#-=-=-=-=-=-=-=-=-=angle B=-=-=-=-=-=-=-=-=-=-=-\r\n"
              "angleB=avisource(\"/cam/b.avi\").killaudio().trim(150,0)\r\n"
              "\r\n"
              "B0=angleB.trim(0,32787)\r\n"
              "B1=angleB.trim(32768,99990)\r\n"
              "B2=angleB.trim(99971,100000)\r\n"
              "B3=angleB.trim(99981,0)\r\n"
              "#-=-=-=-=-=-=-=-=-=angle C=-=-=-=-=-=-=-=-=-=-=-\r\n"
              "angleC=avisource(\"/cam/c.avi\").killaudio().trim(45,0)\r\n"
              "\r\n"
              "C0=angleC.trim(0,32787)\r\n"
              "C1=angleC.trim(32768,99990)\r\n"
              "C2=angleC.trim(99971,100000)\r\n"
              "C3=angleC.trim(99981,0)\r\n"
              "#-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=\r\n"
              "video=dissolve(A0, B1, A2, B3, overlap)\r\n"
              "audiodub(video,audio)\r\n"
              "\r\n"
              "fadeout(overlap)\r\n");
}

// A fractional overlap, a negative start, a start frame that is no number,
// a first switch point that is not at 0, both fade lines empty.
TEST_F(EditScriptTest, OddValuesAreWrittenAsTheyComeByteForByte) {
    addClip("/a b/\xc3\xa4.avi", "abc");
    edit.removeSwitchPoint(0);
    addSwitchPoints({{"5", 'A'}, {"10", 'A'}, {"300", 'A'}, {"301", 'A'}});
    edit.overlap().setText("20.5");
    EXPECT_EQ(editScriptText(edit),
              "overlap=20.5\r\n"
              "audio=avisource(\"/a b/\xc3\xa4.avi\").trim(abc,0)\r\n"
              "#-=-=-=-=-=-=-=-=-=angle A=-=-=-=-=-=-=-=-=-=-=-\r\n"
              "angleA=avisource(\"/a b/\xc3\xa4.avi\").killaudio().trim(abc,0)\r\n"
              "\r\n"
              "A0=angleA.trim(0,10)\r\n"
              "A1=angleA.trim(-10,300)\r\n"
              "A2=angleA.trim(280,301)\r\n"
              "A3=angleA.trim(282,0)\r\n"
              "#-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=\r\n"
              "video=dissolve(A0, A1, A2, A3, overlap)\r\n"
              "audiodub(video,audio)\r\n"
              "\r\n"
              "\r\n");
}

// A sound recording takes angle A's place in the audio line: WAVSource for a
// WAV file, the FFMS2 plugin's FFAudioSource for anything else, delayed by
// its start point negated.
TEST_F(EditScriptTest, ASoundRecordingIsTheAudioLine) {
    const std::vector<std::vector<std::string>> rows{
        {"/rec/desk.WAV", "12345", "audio=wavsource(\"/rec/desk.WAV\").delayaudio(-12.345)"},
        {"/rec/phone.m4a", "-480", "audio=ffaudiosource(\"/rec/phone.m4a\").delayaudio(0.480)"},
        {"C:\\rec\\a.flac", "007", "audio=ffaudiosource(\"C:\\rec\\a.flac\").delayaudio(-0.007)"},
        {"/rec/b.wav", "-0", "audio=wavsource(\"/rec/b.wav\").delayaudio(0.000)"},
        {"/rec/c.mp3", "-3600000", "audio=ffaudiosource(\"/rec/c.mp3\").delayaudio(3600.000)"},
    };
    addClip("/cam/a.avi", "25");
    for (const auto& row : rows) {
        openDialog.answers.push_back(row[0]);
        edit.loadSoundRecording(openDialog, messages);
        edit.setSoundStart(row[1], messages);
        const std::string text = editScriptText(edit);
        EXPECT_EQ(text.substr(text.find("\r\n") + 2, row[2].size() + 2), row[2] + "\r\n") << row[0];
    }
    for (const char* refused : {"1.5", "", "abc", "1234567890123"}) EXPECT_FALSE(edit.setSoundStart(refused, messages));
    EXPECT_EQ(messages.shown, std::vector<std::string>(4, messages::kSoundStartNotWhole));
    edit.removeSoundRecording();
    EXPECT_NE(editScriptText(edit).find("audio=avisource(\"/cam/a.avi\").trim(25,0)\r\n"), std::string::npos);
}

TEST_F(EditScriptTest, LineCountIsSevenPlusClipsTimesPointsPlusThree) {
    for (int clips = 0; clips <= 4; ++clips) {
        Edit fresh;
        fresh.initialise();
        for (int c = 0; c < clips; ++c) {
            openDialog.answers.push_back("/clip.avi");
            fresh.addClip(openDialog, messages);
        }
        for (int points = 1; points <= 4; ++points) {
            if (points > 1) {
                player.positionReplies.push_back(std::to_string(points * 100));
                fresh.addSwitchPoint('A', player);
            }
            EXPECT_EQ(countLines(editScriptText(fresh)), 7 + clips * (points + 3)) << clips << "/" << points;
        }
    }
}

TEST_F(EditScriptTest, OneOrNoSwitchPointOnlyShowsTheMessage) {
    addClip("/a.avi", "0");
    saveDialog.answers.push_back(pathIn("edit.avs"));
    buildEditScript(edit, saveDialog, messages);
    edit.removeSwitchPoint(0);
    buildEditScript(edit, saveDialog, messages);
    EXPECT_EQ(saveDialog.timesShown, 0);
    EXPECT_EQ(messages.shown, Texts(2, "please add more crossfade points to save the script"));
    EXPECT_FALSE(fs::exists(pathIn("edit.avs")));
}

TEST_F(EditScriptTest, SaveReplacesTheWholeFileAndReports) {
    makeExampleEdit();
    writeBytes(pathIn("edit.avs"), std::string(5000, 'x'));
    saveDialog.answers.push_back(pathIn("edit.avs"));
    buildEditScript(edit, saveDialog, messages);
    EXPECT_EQ(readBytes(pathIn("edit.avs")), exampleScript);
    EXPECT_EQ(messages.shown, Texts{"The AviSynth script has been saved."});
}

TEST_F(EditScriptTest, CancelledOrEmptySaveWritesNothingAndSaysNothing) {
    makeExampleEdit();
    saveDialog.answers = {pathIn("edit.avs"), std::nullopt, std::string()};
    buildEditScript(edit, saveDialog, messages);
    edit.fadeInToggled(CheckValue::Unticked);
    buildEditScript(edit, saveDialog, messages);
    buildEditScript(edit, saveDialog, messages);
    EXPECT_EQ(saveDialog.timesShown, 3);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(readBytes(pathIn("edit.avs")), exampleScript);
}

TEST_F(EditScriptTest, MissingFolderIsReportedAndNeverCalledSaved) {
    makeExampleEdit();
    saveDialog.answers.push_back(pathIn("no such folder/edit.avs"));
    buildEditScript(edit, saveDialog, messages);
    EXPECT_EQ(messages.shown, Texts{"The script could not be saved: " + pathIn("no such folder/edit.avs") +
                                    ": No such file or directory"});
}

TEST_F(EditScriptTest, FolderInTheWayIsReportedAndLeftAsItWas) {
    makeExampleEdit();
    fs::create_directory(pathIn("edit.avs"));
    saveDialog.answers.push_back(pathIn("edit.avs"));
    buildEditScript(edit, saveDialog, messages);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].starts_with("The script could not be saved: " + pathIn("edit.avs") + ": "));
    EXPECT_TRUE(fs::is_directory(pathIn("edit.avs")));
    EXPECT_EQ(std::distance(fs::directory_iterator(tempDir.path().toStdString()), fs::directory_iterator()), 1);
}
