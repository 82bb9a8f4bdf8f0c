#include "model/StringList.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using vistrel::model::StringList;
using vistrel::model::StringListObserver;
using Events = std::vector<std::string>;

namespace {

class RecordingObserver : public StringListObserver {
public:
    Events events;

    void aboutToInsert(int row) override { record("aboutToInsert", row); }
    void inserted(int row) override { record("inserted", row); }
    void aboutToRemove(int row) override { record("aboutToRemove", row); }
    void removed(int row) override { record("removed", row); }
    void replaced(int row) override { record("replaced", row); }
    void listDestroyed() override { events.push_back("listDestroyed"); }

private:
    void record(const char* what, int row) { events.push_back(what + (" " + std::to_string(row))); }
};

class StringListTest : public ::testing::Test {
protected:
    RecordingObserver observer;  // outlives the list, which tells it when it goes
    StringList list;
};

}  // namespace

TEST_F(StringListTest, EntryOutsideTheListIsEmptyText) {
    list.append("a");
    EXPECT_EQ(list.entry(1), "");
    EXPECT_EQ(list.entry(-1), "");
}

TEST_F(StringListTest, ChangesOutsideTheListThrowAndChangeNothing) {
    list.append("a");
    EXPECT_THROW(list.insert(2, "x"), std::out_of_range);
    EXPECT_THROW(list.remove(1), std::out_of_range);
    EXPECT_THROW(list.replace(-1, "x"), std::out_of_range);
    EXPECT_EQ(list.entries(), Events{"a"});
}

TEST_F(StringListTest, ObserverHearsEachChangeBeforeAndAfter) {
    list.attach(observer);
    list.append("a");
    list.insert(0, "b");
    list.replace(1, "c");
    list.remove(0);
    EXPECT_EQ(list.entries(), Events{"c"});
    EXPECT_EQ(observer.events, (Events{"aboutToInsert 0", "inserted 0", "aboutToInsert 0", "inserted 0", "replaced 1",
                                       "aboutToRemove 0", "removed 0"}));
}

TEST_F(StringListTest, SecondObserverIsRefusedAndDetachedOneHearsNothing) {
    RecordingObserver other;
    list.attach(observer);
    EXPECT_THROW(list.attach(other), std::logic_error);
    list.detach(observer);
    list.append("a");
    EXPECT_TRUE(observer.events.empty());
    EXPECT_TRUE(other.events.empty());
}

TEST_F(StringListTest, ObserverIsToldWhenTheListGoesAway) {
    auto shortLived = std::make_unique<StringList>();
    shortLived->attach(observer);
    shortLived.reset();
    EXPECT_EQ(observer.events, Events{"listDestroyed"});
}
