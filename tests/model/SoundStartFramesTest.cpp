// The start frames set from what the sound matching found, and its message.
#include <gtest/gtest.h>

#include "model/Edit.h"
#include "model/Ports.h"
#include "model/ModelFakes.h"
#include "model/SoundStartFrames.h"

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
