// How command texts are read: which command, and which frame a seek asks for.
#include "player/MciCommand.h"

#include <gtest/gtest.h>

#include <limits>

using vistrel::player::leadingInteger;
using vistrel::player::MciCommand;
using vistrel::player::parseMciCommand;

namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

MciCommand::Kind kindOf(const char* text) { return parseMciCommand(QString::fromUtf8(text)).kind; }

std::optional<int64_t> seekTarget(const char* text) {
    const MciCommand command = parseMciCommand(QString::fromUtf8(text));
    EXPECT_EQ(command.kind, MciCommand::Kind::SeekTo) << text;
    return command.target;
}

TEST(MciCommandWords, TheTextsTheWindowsSendAreRecognised) {
    EXPECT_EQ(kindOf("status position"), MciCommand::Kind::StatusPosition);
    EXPECT_EQ(kindOf("seek to 00000120"), MciCommand::Kind::SeekTo);
}

TEST(MciCommandWords, CaseAndSpacingDoNotMatter) {
    EXPECT_EQ(kindOf("STATUS Position"), MciCommand::Kind::StatusPosition);
    EXPECT_EQ(kindOf("  status \t length "), MciCommand::Kind::StatusLength);
    EXPECT_EQ(kindOf("Status Mode"), MciCommand::Kind::StatusMode);
    EXPECT_EQ(kindOf(" PLAY "), MciCommand::Kind::Play);
    EXPECT_EQ(kindOf("pause"), MciCommand::Kind::Pause);
    EXPECT_EQ(kindOf("stop"), MciCommand::Kind::Stop);
}

TEST(MciCommandWords, AnythingElseIsUnknown) {
    for (const char* text : {"", " ", "status", "status positions", "status position now", "play it", "seek", "seek 5",
                             "seekto 5", "open foo.avi", "status position\x01"})
        EXPECT_EQ(kindOf(text), MciCommand::Kind::Unknown) << '"' << text << '"';
}

TEST(SeekTarget, EightDigitSwitchPointFrame) {
    EXPECT_EQ(seekTarget("seek to 00000000"), 0);
    EXPECT_EQ(seekTarget("seek to 00012345"), 12345);
}

TEST(SeekTarget, TypedTextIsReadFromItsLeadingDigits) {
    EXPECT_EQ(seekTarget("seek to 250"), 250);
    EXPECT_EQ(seekTarget("seek to   250  "), 250);
    EXPECT_EQ(seekTarget("seek to 250abc"), 250);
    EXPECT_EQ(seekTarget("seek to 12.9"), 12);
    EXPECT_EQ(seekTarget("seek to 1e3"), 1);
    EXPECT_EQ(seekTarget("seek to +7"), 7);
}

TEST(SeekTarget, NegativeNumbersKeepTheirSignForClampingLater) { EXPECT_EQ(seekTarget("seek to -5"), -5); }

TEST(SeekTarget, TextThatIsNotANumberHasNoTarget) {
    EXPECT_EQ(seekTarget("seek to abc"), std::nullopt);
    EXPECT_EQ(seekTarget("seek to"), std::nullopt);
    EXPECT_EQ(seekTarget("seek to "), std::nullopt);
    EXPECT_EQ(seekTarget("seek to -"), std::nullopt);
    EXPECT_EQ(seekTarget("seek to - 5"), std::nullopt);
    EXPECT_EQ(seekTarget("seek to x12"), std::nullopt);
}

TEST(SeekTarget, NumbersBeyondSixtyFourBitsSaturate) {
    EXPECT_EQ(seekTarget("seek to 9223372036854775807"), kMax);
    EXPECT_EQ(seekTarget("seek to 9223372036854775808"), kMax);
    EXPECT_EQ(seekTarget("seek to 99999999999999999999999999"), kMax);
    EXPECT_EQ(seekTarget("seek to -99999999999999999999999999"), std::numeric_limits<int64_t>::min());
}

TEST(SeekTarget, StartAndEndWords) {
    EXPECT_EQ(seekTarget("seek to start"), 0);
    EXPECT_EQ(seekTarget("seek to END"), kMax);
}

TEST(SeekTarget, MciWaitFlagIsALastWordOfItsOwn) {
    for (const char* text : {"seek to 250 wait", "seek to END Wait", "seek to 0 wait  "}) {
        const MciCommand command = parseMciCommand(text);
        EXPECT_TRUE(command.wait) << text;
        EXPECT_NE(command.target, std::nullopt) << text;
    }
    EXPECT_FALSE(parseMciCommand("seek to 250").wait);
    EXPECT_FALSE(parseMciCommand("seek to 250wait").wait);
    EXPECT_EQ(parseMciCommand("seek to wait").target, std::nullopt);
}

TEST(LeadingInteger, OnlyAsciiDigitsCount) {
    // An Arabic-Indic digit is a digit to Unicode but not a frame number.
    EXPECT_EQ(leadingInteger(u"\u0663"), std::nullopt);
    EXPECT_EQ(leadingInteger(u"4\u0663"), 4);
}

}  // namespace
