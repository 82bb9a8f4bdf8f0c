// A long editing session through the model: ten thousand switch points
// added at random frames and angles, then removed at random rows. The list
// stays in frame order, the count box follows it, and the edit script
// written at the end has a segment per point. (How long the script takes
// to write is printed by vistrel-soak, never asserted here.)
#include "model/ModelFakes.h"
#include "model/ScriptOperations.h"
#include "model/Scripts.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace vistrel::model;
using namespace vistrel::model::testing;

namespace {

constexpr int kSessionPoints = 10000;

std::string entryFor(int frame, char angle) {
    char text[16];
    std::snprintf(text, sizeof text, "%08d|%c", frame, angle);
    return text;
}

class LongSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        edit.initialise();
        for (const char* clip : {"/clips/a.avi", "/clips/b.avi", "/clips/c.avi", "/clips/d.avi"}) {
            openDialog.answers.push_back(clip);
            edit.addClip(openDialog, messages);
        }
        expected.insert({0, 'A'});
    }

    void addRandomPoint() {
        const int frame = std::uniform_int_distribution<int>(0, 99'999'999)(random);
        const char angle = char('A' + std::uniform_int_distribution<int>(0, 3)(random));
        player.positionReplies.push_back(std::to_string(frame));
        edit.addSwitchPoint(angle, player);
        expected.insert({frame, angle});
    }

    void removeRandomPoint() {
        const int row = std::uniform_int_distribution<int>(0, edit.switchPoints().count() - 1)(random);
        const std::string entry = edit.switchPoints().entry(row);
        edit.removeSwitchPoint(row);
        expected.erase(expected.find({std::stoi(entry.substr(0, 8)), entry.back()}));
    }

    std::vector<std::string> expectedEntries() const {
        std::vector<std::string> entries;
        for (const auto& [frame, angle] : expected) entries.push_back(entryFor(frame, angle));
        return entries;
    }

    void expectListMatches() {
        ASSERT_EQ(edit.switchPoints().entries(), expectedEntries());
        ASSERT_EQ(edit.pointCount().text(), std::to_string(expected.size()));
    }

    Edit edit;
    RecordingPlayer player;
    QueuedFileDialog openDialog;
    QueuedFileDialog saveDialog;
    RecordingMessages messages;
    std::mt19937 random{20261207};
    std::multiset<std::pair<int, char>> expected;
};

TEST_F(LongSessionTest, TenThousandPointsStaySortedAndCounted) {
    for (int i = 1; i <= kSessionPoints; ++i) {
        addRandomPoint();
        if (i % 500 == 0) {
            ASSERT_NO_FATAL_FAILURE(expectListMatches()) << "after " << i << " additions";
        }
    }
    EXPECT_EQ(edit.pointCount().text(), "10001");
    for (int i = 1; i <= kSessionPoints; ++i) {
        removeRandomPoint();
        if (i % 500 == 0) {
            ASSERT_NO_FATAL_FAILURE(expectListMatches()) << "after " << i << " removals";
        }
    }
    EXPECT_EQ(edit.switchPoints().count(), 1);
    EXPECT_EQ(edit.pointCount().text(), "1");
}

TEST_F(LongSessionTest, AddingAndRemovingInTurnKeepsTheOrder) {
    for (int i = 1; i <= kSessionPoints; ++i) {
        addRandomPoint();
        addRandomPoint();
        removeRandomPoint();
    }
    expectListMatches();
}

TEST_F(LongSessionTest, TheScriptOfTenThousandPointsHasEverySegment) {
    for (int i = 0; i < kSessionPoints; ++i) addRandomPoint();
    QTemporaryDir folder;
    const std::string path = folder.filePath("long.avs").toStdString();
    saveDialog.answers.push_back(path);

    buildEditScript(edit, saveDialog, messages);

    ASSERT_EQ(messages.shown, std::vector<std::string>{"The AviSynth script has been saved."});
    const std::string script = readBytes(path);
    const int points = kSessionPoints + 1;
    std::size_t lines = 0;
    for (std::size_t at = script.find("\r\n"); at != std::string::npos; at = script.find("\r\n", at + 2)) ++lines;
    EXPECT_EQ(lines, std::size_t(7 + 4 * (points + 3)));

    std::string dissolve = "video=dissolve(";
    int index = 0;
    for (const auto& point : expected) dissolve += point.second + std::to_string(index++) + ", ";
    EXPECT_NE(script.find("\r\n" + dissolve + "overlap)\r\n"), std::string::npos);

    // The last segment of each angle runs from the last point less the overlap to the clip's end.
    const int lastFrame = expected.rbegin()->first;
    const std::string lastStart = std::to_string(lastFrame - 20 + 1);
    for (char angle : {'A', 'B', 'C', 'D'}) {
        const std::string line =
            angle + std::to_string(points - 1) + "=angle" + angle + ".trim(" + lastStart + ",0)\r\n";
        EXPECT_NE(script.find(line), std::string::npos) << line;
    }
}

}  // namespace
