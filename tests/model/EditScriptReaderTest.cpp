// Reading an edit script back: every edit the window can make comes back as
// an edit that writes the same bytes; anything else is refused by its line.

#include "model/EditScriptReader.h"
#include "model/KeptEdit.h"
#include "model/ModelFakes.h"
#include "model/Scripts.h"
#include "model/SwitchPoint.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

using namespace vistrel::model;
using namespace vistrel::model::testing;

namespace {

// An edit made through the operations, as a user makes it: clips (some
// removed again), odd start frames, switch points that are often close or
// equal, the start entry sometimes removed, odd overlaps, fades.
void makeRandomEdit(Edit& edit, std::mt19937& random) {
    const std::vector<std::string> paths{"C:\\clips\\a.avi", "/home/u/My Clips/\xc3\xa4 1.avi", "/x/b,c).avi",
                                         "/x/trim(1,0).avs", "/same.avi"};
    const std::vector<std::string> starts{"0", "150", "12345", "", "abc", " 7", "1,0)", "-5", "3.5"};
    const std::vector<std::string> overlaps{"20", "", "20.5", "19.5", "0", "-3", "abc", " 7", "1e2", "100000"};
    auto chance = [&](int percent) { return std::uniform_int_distribution<int>(0, 99)(random) < percent; };
    auto upTo = [&](int most) { return std::uniform_int_distribution<int>(0, most)(random); };
    auto pick = [&](const std::vector<std::string>& from) { return from[upTo(static_cast<int>(from.size()) - 1)]; };
    QueuedFileDialog dialog;
    RecordingMessages messages;
    RecordingPlayer player;

    edit.initialise();
    for (int clip = upTo(kMaxAngles); clip > 0; --clip) {
        dialog.answers.push_back(pick(paths));
        edit.addClip(dialog, messages);
        edit.setStartFrame(edit.clips().count() - 1, chance(50) ? pick(starts) : std::to_string(upTo(900)));
    }
    if (chance(20)) edit.removeSwitchPoint(0);
    long frame = 0;
    for (int point = upTo(12); point > 0; --point) {
        frame += chance(30) ? upTo(3) : chance(90) ? upTo(60) : upTo(5'000'000);
        player.positionReplies.push_back(std::to_string(std::min(frame, 99'999'999L)));
        edit.addSwitchPoint(angleLetter(upTo(std::max(0, edit.clips().count() - 1))), player);
    }
    if (!edit.clips().isEmpty() && chance(15)) edit.removeClip(upTo(edit.clips().count() - 1));
    if (chance(30)) {
        dialog.answers.push_back(pick({"/rec/desk.WAV", "/rec/phone (1).m4a", "C:\\rec\\x).flac"}));
        edit.loadSoundRecording(dialog, messages);
        edit.setSoundStart(std::to_string(upTo(7'200'000) - 10'000), messages);
    }
    edit.overlap().setText(pick(overlaps));
    edit.fadeInToggled(chance(50) ? CheckValue::Ticked : CheckValue::Unticked);
    edit.fadeOutToggled(chance(50) ? CheckValue::Ticked : CheckValue::Unticked);
}

TEST(EditScriptReaderTest, EveryGeneratedEditIsWrittenAgainByteForByte) {
    std::mt19937 random(13);
    for (int round = 0; round < 2000; ++round) {
        Edit edit;
        makeRandomEdit(edit, random);
        const std::string script = editScriptText(edit);
        const EditContent read = readEditScript(script);
        Edit again;
        again.replace(read);
        ASSERT_EQ(editScriptText(again), script) << "round " << round;

        // Only the first switch point's frame never reaches a script; with
        // no clip there are no segments and the frames are the rows.
        EditContent expected = edit.content();
        auto& points = expected.switchPoints;
        if (!points.empty()) points[0] = std::string("00000000|") + points[0].back();
        if (expected.clips.empty()) points = read.switchPoints;
        ASSERT_EQ(read, expected) << "round " << round << "\n" << script;
    }
}

const std::string exampleScript =
    "overlap=20\r\naudio=avisource(\"C:\\clips\\a.avi\")\r\n"
    "#-=-=-=-=-=-=-=-=-=angle A=-=-=-=-=-=-=-=-=-=-=-\r\n"
    "angleA=avisource(\"C:\\clips\\a.avi\").killaudio().trim(0,0)\r\n\r\n"
    "A0=angleA.trim(0,300)\r\nA1=angleA.trim(281,500)\r\nA2=angleA.trim(481,0)\r\n"
    "#-=-=-=-=-=-=-=-=-=angle B=-=-=-=-=-=-=-=-=-=-=-\r\n"
    "angleB=avisource(\"C:\\clips\\b.avi\").killaudio().trim(150,0)\r\n\r\n"
    "B0=angleB.trim(0,300)\r\nB1=angleB.trim(281,500)\r\nB2=angleB.trim(481,0)\r\n"
    "#-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=\r\n"
    "video=dissolve(A0, B1, A2, overlap)\r\naudiodub(video,audio)\r\nfadein(overlap)\r\n\r\n";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

struct Refusal {
    const char* what;
    std::function<std::string(const std::string&)> change;
    std::string message;
};

TEST(EditScriptReaderTest, ScriptsNotWrittenSoAreRefusedByTheirLine) {
    using S = const std::string&;
    const std::vector<Refusal> rows{
        {"another script", [](S) { return std::string("AviSource(\"x.avi\")\r\n"); },
         "line 1 could not be read: AviSource(\"x.avi\")"},
        {"last line without CR LF", [](S s) { return s + "video"; }, "line 20 does not end with CR LF"},
        {"segment start edited", [](S s) { return replaced(s, "A1=angleA.trim(281,", "A1=angleA.trim(290,"); },
         "line 7 could not be read: A1=angleA.trim(290,500)"},
        {"segment line removed", [](S s) { return replaced(s, "B1=angleB.trim(281,500)\r\n", ""); },
         "line 13 could not be read: B2=angleB.trim(481,0)"},
        {"unclosed clip path", [](S s) { return replaced(s, "b.avi\").kill", "b.avi).kill"); },
         "line 10 could not be read: angleB=avisource(\"C:\\clips\\b.avi).killaudio().trim(150,0)"},
        {"fifth angle letter", [](S s) { return replaced(s, "B1, A2", "E1, A2"); },
         "line 16 could not be read: video=dissolve(A0, E1, A2, overlap)"},
        {"fade of its own", [](S s) { return replaced(s, "fadein(overlap)", "fadein(10)"); },
         "line 18 could not be read: fadein(10)"},
        {"a line added", [](S s) { return s + "return video\r\n"; }, "line 20 could not be read: return video"},
    };
    ASSERT_EQ(readEditScript(exampleScript).switchPoints,
              (std::vector<std::string>{"00000000|A", "00000300|B", "00000500|A"}));
    for (const auto& row : rows) {
        try {
            readEditScript(row.change(exampleScript));
            ADD_FAILURE() << row.what << ": read";
        } catch (const UnreadableEditScript& refused) {
            EXPECT_EQ(refused.what(), row.message) << row.what;
        }
    }
}

// Angle A's sound from A's start frame on; a script with A's sound from A's
// first frame, as saved before, opens as the same edit.
TEST(EditScriptReaderTest, TheSoundStartsAtAngleAsStartFrameInEitherForm) {
    const std::string trimmed =
        replaced(replaced(exampleScript, "a.avi\").killaudio().trim(0,0)", "a.avi\").killaudio().trim(25,0)"),
                 "a.avi\")\r\n#", "a.avi\").trim(25,0)\r\n#");
    Edit edit;
    edit.replace(readEditScript(trimmed));
    EXPECT_EQ(editScriptText(edit), trimmed);
    EXPECT_EQ(readEditScript(replaced(trimmed, ".trim(25,0)\r\n#", "\r\n#")), edit.content());
}

// The kept switch list brings back what the script cannot show: the first
// switch point's frame; a list that does not fit the kept script is ignored.
TEST(EditScriptReaderTest, TheKeptEditKeepsItsSwitchListVerbatim) {
    QTemporaryDir folder;
    const KeptEdit kept(folder.path().toStdString());
    const EditContent content{{"/a.avi"}, {"0"}, {"00000300|B", "00000500|A"}, "20", "", "", "", ""};
    Edit edit;
    edit.replace(content);
    ASSERT_FALSE(kept.write(editScriptText(edit), content.switchPoints));
    EXPECT_EQ(kept.read(), content);
    writeBytes(folder.filePath("switch-points.txt").toStdString(), "00000300|B\n00000501|A\n");
    EXPECT_EQ(kept.read().switchPoints, (std::vector<std::string>{"00000000|B", "00000500|A"}));
}

}  // namespace
