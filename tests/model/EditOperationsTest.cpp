#include "model/Edit.h"
#include "model/EditFile.h"
#include "model/EditHistory.h"
#include "model/Messages.h"
#include "model/ModelFakes.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

using namespace vistrel::model;
using namespace vistrel::model::testing;
using Entries = std::vector<std::string>;

namespace {

class EditTest : public ::testing::Test {
protected:
    void SetUp() override { edit.initialise(); }

    void addClips(std::initializer_list<const char*> paths) {
        for (const char* path : paths) {
            openDialog.answers.push_back(path);
            edit.addClip(openDialog, messages);
        }
    }

    void addSwitchPoint(const std::string& reply, char angle) {
        player.positionReplies.push_back(reply);
        edit.addSwitchPoint(angle, player);
    }

    Edit edit;
    RecordingPlayer player;
    QueuedFileDialog openDialog;
    RecordingMessages messages;
};

}  // namespace

TEST(EditStart, InitialiseAddsTheStartEntryAndCountsOne) {
    Edit edit;
    EXPECT_EQ(edit.overlap().text(), "20");
    edit.initialise();
    EXPECT_EQ(edit.switchPoints().entries(), Entries{"00000000|A"});
    EXPECT_EQ(edit.pointCount().text(), "1");
    EXPECT_TRUE(edit.clips().isEmpty() && edit.startFrames().isEmpty());
    EXPECT_EQ(edit.fadeInLine() + edit.fadeOutLine() + edit.currentPositionText(), "");
}

TEST_F(EditTest, AddClipAppendsPathVerbatimWithStartFrameZero) {
    addClips({"/a.avi", "C:\\my clips\\ä & 'b'.avs", "/a.avi"});
    EXPECT_EQ(edit.clips().entries(), (Entries{"/a.avi", "C:\\my clips\\ä & 'b'.avs", "/a.avi"}));
    EXPECT_EQ(edit.startFrames().entries(), (Entries{"0", "0", "0"}));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(EditTest, FifthClipShowsMessageWithoutOpeningTheDialog) {
    addClips({"/a.avi", "/b.avi", "/c.avi", "/d.avi", "/e.avi"});
    EXPECT_EQ(openDialog.timesShown, 4);
    EXPECT_EQ(messages.shown, Entries{"This version only allows 4 angles."});
    EXPECT_EQ(edit.clips().count(), 4);
    EXPECT_EQ(edit.startFrames().count(), 4);
}

TEST_F(EditTest, CancelledOrEmptyChoiceAddsNothingSilently) {
    openDialog.answers = {std::nullopt, std::string()};
    edit.addClip(openDialog, messages);
    edit.addClip(openDialog, messages);
    EXPECT_TRUE(edit.clips().isEmpty() && edit.startFrames().isEmpty());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(EditTest, PathWithQuoteOrLineBreakIsRefused) {
    addClips({"/a\"b.avi", "/a\nb.avi", "/a\rb.avi"});
    EXPECT_TRUE(edit.clips().isEmpty() && edit.startFrames().isEmpty());
    const std::string refusal =
        "This file name cannot be used in a script: it contains a double quote or a line break.";
    EXPECT_EQ(messages.shown, (Entries{refusal, refusal, refusal}));
}

TEST_F(EditTest, SwitchPointsAreInsertedInFrameOrderAndCounted) {
    addClips({"/a.avi", "/b.avi"});
    addSwitchPoint("500", 'A');
    addSwitchPoint("300", 'B');
    addSwitchPoint("300", 'B');
    addSwitchPoint(" 12", 'A');
    EXPECT_EQ(edit.switchPoints().entries(),
              (Entries{"00000000|A", "0000012|A", "00000300|B", "00000300|B", "00000500|A"}));
    EXPECT_EQ(edit.pointCount().text(), "5");
    EXPECT_EQ(edit.currentPositionText(), " 12|A");
    EXPECT_EQ(player.calls, Entries(4, "sendcommand status position"));
}

TEST_F(EditTest, AngleWithoutItsClipDoesNothingAndAsksNothing) {
    addSwitchPoint("100", 'A');  // A needs no clip
    addClips({"/a.avi"});
    addSwitchPoint("300", 'B');
    addClips({"/b.avi", "/c.avi"});
    addSwitchPoint("300", 'D');
    EXPECT_EQ(edit.switchPoints().entries(), (Entries{"00000000|A", "00000100|A"}));
    EXPECT_EQ(edit.pointCount().text(), "2");
    EXPECT_EQ(edit.currentPositionText(), "100|A");
    EXPECT_EQ(player.calls.size(), 1u);
    EXPECT_THROW(edit.addSwitchPoint('E', player), std::invalid_argument);
}

TEST_F(EditTest, NineDigitFrameSortsByItsTextAndSeeksToItsFirstEight) {
    addSwitchPoint("20000000", 'A');
    addSwitchPoint("123456789", 'A');
    addSwitchPoint("12345678", 'A');
    EXPECT_EQ(edit.switchPoints().entries(), (Entries{"00000000|A", "12345678|A", "123456789|A", "20000000|A"}));
    player.calls.clear();
    edit.selectSwitchPoint(0, player);
    edit.selectSwitchPoint(2, player);
    EXPECT_EQ(player.calls, (Entries{"sendcommand seek to 00000000", "sendcommand seek to 12345678"}));
}

TEST_F(EditTest, RemovingSwitchPointsDownToNoneUpdatesTheCount) {
    std::vector<std::string> shown;
    edit.pointCount().setListener([&](const std::string& text) { shown.push_back(text); });
    addSwitchPoint("300", 'A');
    edit.removeSwitchPoint(0);
    EXPECT_EQ(edit.switchPoints().entries(), Entries{"00000300|A"});
    edit.removeSwitchPoint(0);
    EXPECT_TRUE(edit.switchPoints().isEmpty());
    EXPECT_EQ(shown, (Entries{"2", "1", "0"}));
}

TEST_F(EditTest, OperationsWithoutSelectedEntryDoNothing) {
    addClips({"/a.avi"});
    edit.pointCount().setText("typed");
    for (int row : {-1, 1}) {
        edit.removeSwitchPoint(row);
        edit.removeClip(row);
        edit.setStartFrame(row, "120");
        edit.selectSwitchPoint(row, player);
    }
    EXPECT_EQ(edit.switchPoints().entries(), Entries{"00000000|A"});
    EXPECT_EQ(edit.pointCount().text(), "typed");
    EXPECT_EQ(edit.clips().entries(), Entries{"/a.avi"});
    EXPECT_EQ(edit.startFrames().entries(), Entries{"0"});
    EXPECT_TRUE(player.calls.empty());
}

TEST_F(EditTest, RemovingClipBMovesLaterClipsUpAndKeepsSwitchPoints) {
    addClips({"/a.avi", "/b.avi", "/c.avi"});
    edit.setStartFrame(1, "150");
    edit.setStartFrame(2, " abc ");
    addSwitchPoint("300", 'C');
    edit.removeClip(1);
    EXPECT_EQ(edit.clips().entries(), (Entries{"/a.avi", "/c.avi"}));
    EXPECT_EQ(edit.startFrames().entries(), (Entries{"0", " abc "}));
    EXPECT_EQ(edit.switchPoints().entries(), (Entries{"00000000|A", "00000300|C"}));
    EXPECT_EQ(edit.pointCount().text(), "2");
}

TEST_F(EditTest, FadeTogglesFollowTheCheckBoxAndIgnoreGreyed) {
    edit.fadeInToggled(CheckValue::Ticked);
    edit.fadeOutToggled(CheckValue::Ticked);
    edit.fadeOutToggled(CheckValue::Greyed);
    EXPECT_EQ(edit.fadeInLine(), "fadein(overlap)");
    EXPECT_EQ(edit.fadeOutLine(), "fadeout(overlap)");
    edit.fadeInToggled(CheckValue::Unticked);
    EXPECT_EQ(edit.fadeInLine(), "");
}

TEST_F(EditTest, OverlapIsKeptAsTypedAndOnlyChangesAreEchoed) {
    int heard = 0;
    edit.overlap().setListener([&](const std::string&) { ++heard; });
    edit.overlap().setText("20");
    edit.overlap().setText(" 20.5 ");
    EXPECT_EQ(edit.overlap().text(), " 20.5 ");
    EXPECT_EQ(heard, 1);
}

namespace {

class KnownRates : public ClipRateProbe {
public:
    std::optional<FrameRate> rateOf(const std::string& path) override {
        if (path == "/30.avi") return FrameRate{30, 1};
        if (path.ends_with("25.avi")) return FrameRate{25, 1};
        return std::nullopt;
    }
};

class EditFileTest : public EditTest {
protected:
    QTemporaryDir folder;
    KnownRates rates;
    QueuedQuestions questions;
    QueuedFileDialog saveDialog;
    RateMatching matching{rates, questions, messages, folder.path().toStdString() + "/conformed"};
    EditFile file{edit, openDialog, saveDialog, questions, messages};
    const std::string saved = folder.path().toStdString() + "/saved.avs";

    void add(const char* path, std::deque<int> answers = {}) {
        questions.answers = std::move(answers);
        openDialog.answers.push_back(path);
        edit.addClips(openDialog, messages, matching);
    }
};

}  // namespace

struct OperationRow {
    const char* what;
    const char* undoName;  // "" for typing that goes on the step before
    std::function<void()> run;
};

// What the listener hears last is what the edit holds once an operation is
// done, whichever operation it was: the kept edit is written from it, so a
// change it misses is lost in a crash. The history makes each operation one
// step under its name, undone and redone in turn back to the start.
TEST_F(EditFileTest, EveryOperationIsHeardAndUndoneAsOneStep) {
    const std::vector<OperationRow> operations{
        {"add a clip", "add clip A", [&] { add("/25.avi"); }},
        {"add a clip of another rate, kept", "add clip B", [&] { add("/30.avi", {questions::no}); }},
        {"add a clip of the same rate", "add clip C", [&] { add("/b25.avi"); }},
        {"set a start frame", "set the start frame of C", [&] { edit.setStartFrame(2, "50"); }},
        {"remove angle A, conform the rest", "remove clip A",
         [&] {
             questions.answers = {questions::yes};
             edit.removeClip(0, matching);
         }},
        {"add a clip, conform it", "add clip C", [&] { add("/c25.avi", {questions::yes}); }},
        {"match by sound", "match start frames by sound",
         [&] {
             edit.setStartFramesFromSound(edit.clips().entries(), 30, {{-1.0, 30, 0.9}, {0.5, 30, 0.9}}, 0.5, messages);
         }},
        {"fade in", "fade in", [&] { edit.fadeInToggled(CheckValue::Ticked); }},
        {"fade out", "fade out", [&] { edit.fadeOutToggled(CheckValue::Ticked); }},
        {"type the overlap", "change the overlap", [&] { edit.overlap().setText("12"); }},
        {"type on", "", [&] { edit.overlap().setText("125"); }},
        {"add a switch point", "add switch point", [&] { addSwitchPoint("300", 'B'); }},
        {"remove a switch point", "remove switch point", [&] { edit.removeSwitchPoint(1); }},
        {"remove a clip", "remove clip C", [&] { edit.removeClip(2); }},
        {"load a sound recording", "load the sound recording",
         [&] {
             openDialog.answers.push_back("/rec/desk.wav");
             edit.loadSoundRecording(openDialog, messages);
         }},
        {"set its start point", "set the start point of the sound recording",
         [&] { edit.setSoundStart("-480", messages); }},
        {"remove it", "remove the sound recording", [&] { edit.removeSoundRecording(); }},
        {"add another switch point", "add switch point", [&] { addSwitchPoint("200", 'B'); }},
        {"save, then set a start frame", "set the start frame of A",
         [&] {
             saveDialog.answers.push_back(saved);
             ASSERT_TRUE(file.build());
             edit.setStartFrame(0, "7");
         }},
        {"open an edit", "open edit",
         [&] {
             openDialog.answers.push_back(saved);
             questions.answers = {questions::discard};
             ASSERT_TRUE(file.open());
         }},
    };
    EditHistory history(edit);
    std::vector<EditContent> heard;
    edit.setChangeListener([&] {
        heard.push_back(edit.content());
        history.heard();
    });
    std::vector<std::pair<std::string, EditContent>> steps;  // each step's name and the content before it
    for (const auto& row : operations) {
        const EditContent before = edit.content();
        heard.clear();
        row.run();
        EXPECT_NE(edit.content(), before) << row.what << " changes nothing";
        ASSERT_FALSE(heard.empty()) << row.what << " is not heard";
        EXPECT_EQ(heard.back(), edit.content()) << row.what << " is heard before its last change";
        if (*row.undoName) steps.emplace_back(row.undoName, before);
        EXPECT_EQ(history.undoName(), steps.back().first) << row.what;
    }
    EXPECT_EQ(questions.answers.size(), 0u);

    std::vector<EditContent> after;
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        after.push_back(edit.content());
        ASSERT_EQ(history.undoName(), step->first);
        history.undo();
        EXPECT_EQ(edit.content(), step->second) << "undo " << step->first;
    }
    EXPECT_FALSE(history.canUndo());
    for (const auto& [name, before] : steps) {
        ASSERT_EQ(history.redoName(), name);
        history.redo();
        EXPECT_EQ(edit.content(), after.back()) << "redo " << name;
        after.pop_back();
    }
    history.undo();
    edit.fadeInToggled(CheckValue::Unticked);
    EXPECT_FALSE(history.canRedo()) << "a change after an undo drops what could be redone";
}

TEST_F(EditFileTest, OpeningTheScriptTheWorkWasJustSavedOverShowsThatWork) {
    add("/25.avi");
    addSwitchPoint("100", 'A');
    saveDialog.answers.push_back(saved);
    ASSERT_TRUE(file.build());
    addSwitchPoint("300", 'A');
    const EditContent newer = edit.content();

    openDialog.answers.push_back(saved);
    saveDialog.answers.push_back(saved);
    questions.answers = {questions::save};
    EXPECT_TRUE(file.open());
    EXPECT_EQ(edit.content(), newer);
    EXPECT_FALSE(file.holdsUnsavedWork());
}
