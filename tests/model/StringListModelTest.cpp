#include "model/Edit.h"
#include "model/ModelFakes.h"
#include "model/StringListModel.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace vistrel::model;
using namespace vistrel::model::testing;
using Rows = std::vector<std::string>;

namespace {

Rows shownRows(const StringListModel& model) {
    Rows rows;
    for (int row = 0; row < model.rowCount(); ++row)
        rows.push_back(model.data(model.index(row)).toString().toStdString());
    return rows;
}

// The model's row signals as "insert 1", "inserted 1", "remove 0", "changed 1" ...
void logSignals(const StringListModel& model, Rows& log) {
    auto add = [&log](const char* what) {
        return
            [&log, what](const QModelIndex&, int first, int) { log.push_back(what + (" " + std::to_string(first))); };
    };
    QObject::connect(&model, &QAbstractItemModel::rowsAboutToBeInserted, add("insert"));
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, add("inserted"));
    QObject::connect(&model, &QAbstractItemModel::rowsAboutToBeRemoved, add("remove"));
    QObject::connect(&model, &QAbstractItemModel::rowsRemoved, add("removed"));
    QObject::connect(&model, &QAbstractItemModel::dataChanged,
                     [&log](const QModelIndex& from) { log.push_back("changed " + std::to_string(from.row())); });
}

class StringListModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        edit.initialise();
        dialog.answers = {"/a.avi", "/clips/caméra.avi"};
        edit.addClip(dialog, messages);
        edit.addClip(dialog, messages);
    }

    Edit edit;
    RecordingPlayer player;
    QueuedFileDialog dialog;
    RecordingMessages messages;
};

}  // namespace

TEST_F(StringListModelTest, SortedInsertIsSignalledAtItsRowAndShown) {
    StringListModel switchList(edit.switchPoints());
    player.positionReplies = {"500", "300"};
    edit.addSwitchPoint('A', player);
    Rows log;
    logSignals(switchList, log);
    edit.addSwitchPoint('B', player);
    EXPECT_EQ(log, (Rows{"insert 1", "inserted 1"}));
    EXPECT_EQ(shownRows(switchList), (Rows{"00000000|A", "00000300|B", "00000500|A"}));
}

TEST_F(StringListModelTest, ReplaceAndRemoveAreSignalledAndShown) {
    StringListModel clipList(edit.clips());
    StringListModel startFrameList(edit.startFrames());
    Rows clipLog, startLog;
    logSignals(clipList, clipLog);
    logSignals(startFrameList, startLog);
    edit.setStartFrame(1, "150");
    edit.removeClip(0);
    EXPECT_EQ(startLog, (Rows{"changed 1", "remove 0", "removed 0"}));
    EXPECT_EQ(clipLog, (Rows{"remove 0", "removed 0"}));
    EXPECT_EQ(shownRows(startFrameList), Rows{"150"});
    EXPECT_EQ(clipList.data(clipList.index(0)).toString(), QString::fromUtf8("/clips/caméra.avi"));
    EXPECT_FALSE(clipList.data(clipList.index(1)).isValid());
}

TEST(StringListModelLifetime, ModelOutlivingItsListIsResetToEmpty) {
    auto edit = std::make_unique<Edit>();
    edit->initialise();
    StringListModel switchList(edit->switchPoints());
    int resets = 0;
    QObject::connect(&switchList, &QAbstractItemModel::modelReset, [&] { ++resets; });
    edit.reset();
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(switchList.rowCount(), 0);
}

TEST(StringListModelLifetime, ListOutlivingItsModelTakesAnotherView) {
    Edit edit;
    edit.initialise();
    { StringListModel first(edit.switchPoints()); }
    edit.removeSwitchPoint(0);
    StringListModel second(edit.switchPoints());
    EXPECT_EQ(second.rowCount(), 0);
}
