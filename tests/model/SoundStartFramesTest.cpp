// The start frames set from what the sound matching found, and its message.
#include "model/Edit.h"
#include "model/Messages.h"
#include "model/ModelFakes.h"
#include "model/SoundStartFrames.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vistrel::model {
namespace {

struct StartRow {
    const char* name;
    std::vector<std::string> current;
    std::vector<SoundMatchFound> found;  // at 25 fps unless given
    std::vector<std::string> expected;
};

class SoundStartFrameRows : public ::testing::TestWithParam<StartRow> {};

TEST_P(SoundStartFrameRows, AngleAKeepsItsFrameUnlessAnAngleStartedAfterIt) {
    const StartRow& row = GetParam();
    EXPECT_EQ(startFramesFromSound(row.current, 25, row.found, 0.4).startFrames, row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Found, SoundStartFrameRows,
    ::testing::Values(
        StartRow{
            "EarlierAnglesCountFromAsStart", {"10", "0", "0"}, {{0.84, 25, 0.9}, {2.69, 25, 0.8}}, {"10", "31", "77"}},
        StartRow{"ALaterAngleMovesA", {"3", "7", "0"}, {{-0.84, 25, 0.9}, {1.0, 25, 0.9}}, {"21", "0", "46"}},
        StartRow{"UnsureAnglesKeepTheirFrameAndMoveNothing",
                 {"0", "7", "5"},
                 {{-2.0, 25, 0.1}, {1.0, 25, 0.9}},
                 {"0", "7", "25"}},
        StartRow{"EachAngleCountsInItsOwnFrames", {"25", "0"}, {{0.5, 50, 0.9}}, {"25", "75"}},
        // A moves on by 18 frames (0.72 s): an unsure angle lined up by hand moves as far, in its own frames.
        StartRow{"UnsureAnglesMoveWithA",
                 {"3", "0", "10", "5+1"},
                 {{-0.84, 25, 0.9}, {1.0, 50, 0.1}, {1.0, 25, 0.1}},
                 {"21", "0", "46", "5+1"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SoundStartFrames, TheMessageNamesEveryAngleTheMoveAndTheUnsure) {
    // 0.29 as vistrel-sync's report gives it, two decimals: 0.28999... as a double.
    const auto result = startFramesFromSound({"3", "7", "0", "5+1"}, 25,
                                             {{-0.84, 25, 0.93, -0.052}, {1.0, 25, 0.29}, {2.0, 25, 0.1}}, 0.4);
    EXPECT_EQ(result.message,
              "Start frames found from the sound:\n"
              "B: frame 0 (offset -0.840 s, confidence 0.93); its clock drifts -0.052 s over its length\n"
              "C: moved with angle A to 18 (offset 1.000 s, confidence 0.29)\n"
              "D: left at 5+1 (offset 2.000 s, confidence 0.10)\n"
              "Angle A now starts at frame 21, so that angle B does not start before its first frame.\n"
              "Below confidence 0.40, moved with angle A only: C.\n"
              "Below confidence 0.40, left unchanged: D.\n"
              "Check any angle you are unsure of in the start-point dialog (double-click its start frame).");
}

// Against a recording: sure angles take vistrel-sync's frames at the new
// start point; an unsure one moves as far as the start point moved.
TEST(SoundStartFrames, AgainstARecordingTheAnglesStartWhereTheRecordingDoes) {
    SoundMatchFound a{0.84, 25, 0.93}, b{-1.2, 50, 0.2}, c{3.0, 25, 0.9, 0.4};
    a.startFrame = 21, c.startFrame = 75, c.driftPpm = 104.2;
    const auto result = startFramesFromRecording({"0", "10", "x"}, "500", 1500, {a, b, c}, 0.4);
    EXPECT_EQ(result.startFrames, (std::vector<std::string>{"21", "60", "75"}));
    EXPECT_EQ(result.message,
              "Start frames found from the sound recording:\n"
              "A: frame 21 (offset 0.840 s, confidence 0.93)\n"
              "B: moved to 60 (offset -1.200 s, confidence 0.20)\n"
              "C: frame 75 (offset 3.000 s, confidence 0.90); its clock runs 104.2 ppm against the recording's\n"
              "The edit starts 1.500 s into the sound recording.\n"
              "Below confidence 0.40, kept in place against the recording: B.\n"
              "Check any angle you are unsure of in the start-point dialog (double-click its start frame).");
}

// A drifting angle retimed to its true rate: its start frame moves to the
// same moment, and the script says what it does.
TEST(SoundStartFrames, ADriftingClockIsKeptInStepOnYes) {
    QTemporaryDir folder;
    Edit edit;
    testing::QueuedFileDialog open;
    open.answers = {"/a.avi", "/b.avi"};
    testing::RecordingMessages messages;
    testing::QueuedQuestions questions;
    struct : ClipRateProbe {
        std::optional<FrameRate> rateOf(const std::string&) override { return std::nullopt; }
    } noRates;
    RateMatching matching{noRates, questions, messages, folder.path().toStdString()};
    edit.addClip(open, messages);
    edit.addClip(open, messages);
    edit.setStartFrame(1, "90000");
    SoundMatchFound b{-1.0, 25, 0.9, 0.375, std::nullopt, 104.2, FrameRate{25, 1}};
    questions.answers = {questions::yes};
    edit.offerToKeepInStep({b}, 1, 0.4, {25, 1}, "angle A", matching);
    ASSERT_EQ(questions.asked.size(), 1u);
    EXPECT_EQ(
        questions.asked[0].substr(0, 104),
        "The clock of angle B (b.avi) runs 104.2 ppm fast against angle A's: by its end it is 0.38 s out of step.");
    const std::string script = folder.path().toStdString() + "/b-104.2ppm.avs";
    EXPECT_EQ(edit.clips().entry(1), script);
    EXPECT_EQ(testing::readBytes(script), "ChangeFPS(AssumeFPS(avisource(\"/b.avi\"), 5000521, 200000), 25, 1)\r\n");
    EXPECT_EQ(edit.startFrames().entry(1), "89991") << "90000 of its own frames are 89990.6 of angle A's";
}

TEST(SoundStartFrames, AClipListChangedMeanwhileChangesNothing) {
    Edit edit;
    testing::QueuedFileDialog open;
    open.answers = {"/a.avi", "/b.avi"};
    testing::RecordingMessages messages;
    edit.addClip(open, messages);
    edit.addClip(open, messages);
    edit.setStartFramesFromSound({"/a.avi", "/c.avi"}, 25, {{1.0, 25, 0.9}}, 0.4, messages);
    EXPECT_EQ(edit.startFrames().entries(), (std::vector<std::string>{"0", "0"}));
    EXPECT_EQ(messages.shown, std::vector<std::string>{messages::kClipsChangedDuringSoundMatch});
    edit.setStartFramesFromSound({"/a.avi", "/b.avi"}, 25, {{1.0, 25, 0.9}}, 0.4, messages);
    EXPECT_EQ(edit.startFrames().entries(), (std::vector<std::string>{"0", "25"}));
}

}  // namespace
}  // namespace vistrel::model
