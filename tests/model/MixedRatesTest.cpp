// Angles of different rates: the question, the conform script and the clip
// list, with rates read from a table and answers from a queue.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <map>

#include "model/Edit.h"
#include "model/ModelFakes.h"

using namespace vistrel::model;
using namespace vistrel::model::testing;
using Entries = std::vector<std::string>;

namespace {

class TableRates : public ClipRateProbe {
public:
    std::map<std::string, FrameRate> rates;
    std::optional<FrameRate> rateOf(const std::string& path) override
    {
        const auto found = rates.find(path);
        return found == rates.end() ? std::nullopt : std::optional(found->second);
    }
};

class MixedRatesTest : public ::testing::Test {
protected:
    void load(const std::string& path, FrameRate rate, std::optional<bool> answer = std::nullopt)
    {
        rates.rates[path] = rate;
        if (answer) question.answers.push_back(*answer);
        openDialog.answers.push_back(path);
        edit.addClip(openDialog, messages, matching);
    }
    std::string conformed(const std::string& name) const { return matching.conformedFolder + "/" + name; }

    QTemporaryDir folder;
    TableRates rates;
    QueuedQuestion question;
    RecordingMessages messages;
    QueuedFileDialog openDialog;
    RateMatching matching{rates, question, messages, folder.path().toStdString() + "/data/vistrel/conformed"};
    Edit edit;
};

struct NewClipRow {
    const char* name;
    FrameRate angleA;
    FrameRate clip;
    bool answer;
    bool asked;
    std::string listed;  // the clip list's second entry afterwards
    std::string script;  // the conform script's bytes; empty: none written
};

class NewClip : public MixedRatesTest, public ::testing::WithParamInterface<NewClipRow> {};

TEST_P(NewClip, IsOfferedAConformOnlyWhenItsRateDiffersByMoreThanATenthOfAPercent)
{
    const NewClipRow& row = GetParam();
    load("/clips/a.avi", row.angleA);
    load("/clips/b.mp4", row.clip, row.answer);
    const std::string listed = row.listed.empty() ? "/clips/b.mp4" : conformed(row.listed);
    EXPECT_EQ(edit.clips().entries(), (Entries{"/clips/a.avi", listed}));
    EXPECT_EQ(edit.startFrames().entries(), (Entries{"0", "0"}));
    EXPECT_EQ(question.asked.size(), row.asked ? 1u : 0u);
    if (!row.script.empty()) EXPECT_EQ(readBytes(listed), row.script);
    EXPECT_TRUE(messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rates, NewClip,
    ::testing::Values(
        NewClipRow{"SameRate", {25, 1}, {25, 1}, true, false, "", ""},
        NewClipRow{"WithinATenthOfAPercent", {30, 1}, {2999, 100}, true, false, "", ""},
        NewClipRow{"ThirtyNextToTwentyFive", {25, 1}, {30, 1}, true, true, "b-25fps.avs",
                   "ChangeFPS(avisource(\"/clips/b.mp4\"), 25, 1)\r\n"},
        NewClipRow{"NtscNextToThirty", {30, 1}, {30000, 1001}, true, true, "b-30fps.avs",
                   "ChangeFPS(avisource(\"/clips/b.mp4\"), 30, 1)\r\n"},
        NewClipRow{"TwentyFourNextToNtsc", {30000, 1001}, {24, 1}, true, true, "b-29.97fps.avs",
                   "ChangeFPS(avisource(\"/clips/b.mp4\"), 30000, 1001)\r\n"},
        NewClipRow{"Declined", {25, 1}, {30, 1}, false, true, "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MixedRatesTest, TheQuestionSaysWhatHappens)
{
    load("/clips/a.avi", {25, 1});
    load("/clips/b.mp4", {30, 1}, false);
    ASSERT_EQ(question.asked.size(), 1u);
    EXPECT_EQ(question.asked[0],
              "Angle A runs at 25 fps, but b.mp4 runs at 30 fps: frame for frame, it drifts 10 s a minute away "
              "from angle A.\n\nConform it to 25 fps? Vistrel then writes a small script that repeats or leaves "
              "out frames, so that the clip keeps its real speed, and uses the script in the clip's place. No "
              "keeps the clip as it is.");
    openDialog.answers.push_back("/clips/unreadable.avi");  // the player will say why
    edit.addClip(openDialog, messages, matching);
    EXPECT_EQ(question.asked.size(), 1u);
}

TEST_F(MixedRatesTest, RemovingAngleAOffersToConformTheOthersToTheNewAngleAAtTheSameMoment)
{
    load("/clips/a.avi", {30, 1});
    load("/clips/b.avi", {25, 1}, false);
    load("/clips/c.avi", {30, 1});
    load("/clips/d.avi", {24, 1});
    question.asked.clear();
    edit.setStartFrame(1, "100");
    edit.setStartFrame(2, "250");
    edit.setStartFrame(3, "x7");
    question.answers.push_back(true);
    edit.removeClip(0, matching);
    ASSERT_EQ(question.asked.size(), 1u);
    EXPECT_EQ(question.asked[0].rfind("Angle A runs at 25 fps, but c.avi runs at 30 fps and d.avi at 24 fps: frame "
                                      "for frame, they drift up to 10 s a minute away from angle A.\n\nConform them",
                                      0),
              0u)
        << question.asked[0];
    EXPECT_EQ(edit.clips().entries(), (Entries{"/clips/b.avi", conformed("c-25fps.avs"), conformed("d-25fps.avs")}));
    // Frame 250 at 30 fps is 8.33 s: frame 209 at 25 fps is the first to show it.
    EXPECT_EQ(edit.startFrames().entries(), (Entries{"100", "209", "x7"}));

    question.asked.clear();
    edit.removeClip(1, matching);
    EXPECT_TRUE(question.asked.empty()) << "only losing angle A changes the rate to match";
}

TEST_F(MixedRatesTest, ScriptNamesAreUniqueAndTheSameConformIsReused)
{
    load("/clips/a.avi", {25, 1});
    load("/clips/b.mp4", {30, 1}, true);
    load("/other/b.mp4", {30, 1}, true);
    load("/clips/b.mp4", {30, 1}, true);
    EXPECT_EQ(edit.clips().entries(), (Entries{"/clips/a.avi", conformed("b-25fps.avs"), conformed("b-25fps-2.avs"),
                                               conformed("b-25fps.avs")}));
    EXPECT_EQ(readBytes(conformed("b-25fps-2.avs")), "ChangeFPS(avisource(\"/other/b.mp4\"), 25, 1)\r\n");
}

TEST_F(MixedRatesTest, AScriptThatCannotBeWrittenLeavesTheClipAndSaysWhy)
{
    writeBytes(folder.path().toStdString() + "/data", "a file where the folder belongs");
    load("/clips/a.avi", {25, 1});
    load("/clips/b.mp4", {30, 1}, true);
    EXPECT_EQ(edit.clips().entries(), (Entries{"/clips/a.avi", "/clips/b.mp4"}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].rfind("The script that conforms b.mp4 could not be written: " +
                                          conformed("b-25fps.avs") + ": ",
                                      0),
              0u)
        << messages.shown[0];
}

TEST(ConformedFolder, FollowsXdgDataHome)
{
    EXPECT_EQ(RateMatching::conformedFolderFor("/data", "/home/u"), "/data/vistrel/conformed");
    EXPECT_EQ(RateMatching::conformedFolderFor("", "/home/u"), "/home/u/.local/share/vistrel/conformed");
    EXPECT_EQ(RateMatching::conformedFolderFor("relative", "/home/u"), "/home/u/.local/share/vistrel/conformed");
}

}  // namespace
