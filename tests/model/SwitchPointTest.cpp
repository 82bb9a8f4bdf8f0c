#include "model/SwitchPoint.h"

#include <gtest/gtest.h>

using namespace vistrel::model;

TEST(SwitchPointEntry, ReplyIsFilledToEightCharacters) {
    EXPECT_EQ(makeSwitchPointEntry("1234", 'B'), "00001234|B");
    EXPECT_EQ(makeSwitchPointEntry("", 'C'), "00000000|C");
    EXPECT_EQ(makeSwitchPointEntry("12345678", 'D'), "12345678|D");
    EXPECT_EQ(makeSwitchPointEntry("123456789", 'A'), "123456789|A");
}

TEST(SwitchPointEntry, LeadingBlanksCountForTheFillThenAreDropped) {
    EXPECT_EQ(makeSwitchPointEntry("  300", 'B'), "000300|B");
    EXPECT_EQ(makeSwitchPointEntry("   ", 'A'), "00000|A");
}

TEST(SwitchPointReaders, FrameFromFirstEightCharactersAngleFromLast) {
    EXPECT_EQ(switchPointFrameText("123456789|A"), "12345678");
    EXPECT_EQ(switchPointFrame("123456789|A"), 12345678.0);
    EXPECT_EQ(switchPointFrame("0000012|A"), 12.0);
    EXPECT_EQ(switchPointFrame(""), 0.0);
    EXPECT_EQ(switchPointAngle("123456789|D"), "D");
    EXPECT_EQ(switchPointAngle(""), "");
}

TEST(SwitchListOrder, ByFrameThenAngleWithoutRegardToCase) {
    EXPECT_TRUE(switchListLess("00000100|B", "00000300|A"));
    EXPECT_TRUE(switchListLess("00000300|A", "00000300|b"));
    EXPECT_FALSE(switchListLess("00000300|b", "00000300|B"));
    EXPECT_FALSE(switchListLess("00000300|B", "00000300|b"));
}

TEST(SwitchListOrder, BarSortsBeforeDigitsAndPrefixBeforeLongerText) {
    EXPECT_TRUE(switchListLess("12345678|A", "123456789|A"));
    EXPECT_TRUE(switchListLess("123456789|A", "20000000|A"));
    EXPECT_TRUE(switchListLess("00000300", "00000300|A"));
}

TEST(SwitchListOrder, NewEntryGoesAfterEqualOnes) {
    StringList list;
    for (const char* entry : {"00000000|A", "00000300|B", "00000300|B", "00000500|A"}) list.append(entry);
    EXPECT_EQ(switchListInsertRow(list, "00000300|b"), 3);
    EXPECT_EQ(switchListInsertRow(list, "00000200|C"), 1);
    EXPECT_EQ(switchListInsertRow(list, "00000900|A"), 4);
}
