// The lexical rules: numbers, strings, comments, line ends and continuations.
#include "engine/script/ScriptHarness.h"
#include "engine/script/Tokenizer.h"

#include <gtest/gtest.h>

namespace vistrel::test {
namespace {

using engine::Token;
using engine::Tokenizer;
using engine::TokenKind;

std::vector<Token> tokensOf(std::string_view text) {
    Tokenizer tokenizer(text);
    std::vector<Token> tokens;
    for (Token token = tokenizer.next(); token.kind != TokenKind::End; token = tokenizer.next())
        tokens.push_back(token);
    return tokens;
}

TEST(Numbers, IntegersAndFloatsThatNeedADot) {
    const auto tokens = tokensOf("12 1. .5 3.25 2147483647 2147483648");
    ASSERT_EQ(tokens.size(), 6u);
    EXPECT_EQ(tokens[0].kind, TokenKind::Int);
    EXPECT_EQ(tokens[0].intValue, 12);
    EXPECT_EQ(tokens[1].kind, TokenKind::Float);
    EXPECT_EQ(tokens[1].floatValue, 1.0);
    EXPECT_EQ(tokens[2].floatValue, 0.5);
    EXPECT_EQ(tokens[3].floatValue, 3.25);
    EXPECT_EQ(tokens[4].intValue, 2147483647);
    EXPECT_EQ(tokens[5].kind, TokenKind::Float) << "too large for an int";
}

TEST(Numbers, MinusIsAnOperatorNotPartOfTheNumber) {
    const auto tokens = tokensOf("-9");
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_TRUE(tokens[0].isOperator("-"));
    EXPECT_EQ(tokens[1].intValue, 9);
}

TEST(Numbers, ThereIsNoExponent) {
    ScriptHarness script;
    EXPECT_EQ(script.errorOf("x = 1e5\nx"), "I don't know what 'e5' means.\n(test.avs, line 1)");
}

TEST(Numbers, HexadecimalIsA32BitInt) {
    ScriptHarness script;
    EXPECT_EQ(asInt(script.run("$ffffff")), 16777215);
    EXPECT_EQ(asInt(script.run("$FFFFFFFF")), -1);
    EXPECT_EQ(asInt(script.run("$00ff00")), 0xff00);
}

TEST(Numbers, ALoneDollarIsAnError) {
    ScriptHarness script;
    EXPECT_EQ(script.errorOf("x = $ \n"), "$ must be followed by a hexadecimal number\n(test.avs, line 1, column 5)");
    EXPECT_EQ(script.errorOf("x = $fg\n"), "$ must be followed by a hexadecimal number\n(test.avs, line 1, column 6)");
}

TEST(Strings, KeepBackslashesAndMaySpanLines) {
    ScriptHarness script;
    EXPECT_EQ(std::get<std::string>(script.run(R"("C:\clips\a.avi")")), R"(C:\clips\a.avi)");
    EXPECT_EQ(std::get<std::string>(script.run("\"one\r\ntwo\"")), "one\r\ntwo");
}

TEST(Strings, TripleQuotedMayHoldQuotes) {
    ScriptHarness script;
    EXPECT_EQ(std::get<std::string>(script.run(R"("""say "hi" now""")")), R"(say "hi" now)");
    EXPECT_EQ(std::get<std::string>(script.run(R"("""a""""")")), R"(a"")");
    EXPECT_EQ(std::get<std::string>(script.run(R"("")")), "");
}

TEST(Strings, UnclosedStringIsAnError) {
    ScriptHarness script;
    EXPECT_EQ(script.errorOf("x = 1\ny = \"abc\n"),
              "Parse error: string missing closing quotation mark\n(test.avs, line 2, column 4)");
}

TEST(Strings, AMultiLineStringMovesLaterLineNumbers) {
    ScriptHarness script;
    EXPECT_EQ(script.errorOf("x = \"a\nb\nc\"\nfoo()"),
              "Script error: There is no function named 'foo'.\n(test.avs, line 4)");
}

TEST(Booleans, TrueFalseYesNoInAnyCase) {
    ScriptHarness script;
    EXPECT_EQ(std::get<bool>(script.run("true")), true);
    EXPECT_EQ(std::get<bool>(script.run("YES")), true);
    EXPECT_EQ(std::get<bool>(script.run("False")), false);
    EXPECT_EQ(std::get<bool>(script.run("no")), false);
}

TEST(Comments, AllThreeFormsAreSkipped) {
    ScriptHarness script;
    EXPECT_EQ(asInt(script.run("# a comment\nx = 1 # trailing\n/* block\nover lines */ x + /* inline */ 2")), 3);
    EXPECT_EQ(asInt(script.run("[* outer [* inner *] still outer *] 7")), 7);
}

TEST(Comments, LinesInsideBlockCommentsAreCounted) {
    ScriptHarness script;
    EXPECT_EQ(script.errorOf("/*\n\n*/ foo()"), "Script error: There is no function named 'foo'.\n(test.avs, line 3)");
    EXPECT_EQ(script.errorOf("[*\n[*\n*]\n*]\nfoo()"),
              "Script error: There is no function named 'foo'.\n(test.avs, line 5)");
}

TEST(Comments, UnclosedBlockCommentIsAnError) {
    ScriptHarness script;
    EXPECT_EQ(script.errorOf("x = 1 /* never closed\n"),
              "Parse error: block comment missing closing */\n(test.avs, line 1, column 6)");
    EXPECT_EQ(script.errorOf("[* [* *] \n"),
              "Parse error: nestable block comment missing closing *]\n(test.avs, line 1, column 0)");
}

TEST(Comments, OrphanClosingIsAnError) {
    ScriptHarness script;
    EXPECT_EQ(script.errorOf("x = 1 */"), "Parse error: orphan block comment closing */\n(test.avs, line 1, column 6)");
}

TEST(LineEnds, CrLfLfAndCrAllEndLines) {
    ScriptHarness script;
    const std::string expected = "Script error: There is no function named 'foo'.\n(test.avs, line 3)";
    EXPECT_EQ(script.errorOf("x=1\r\ny=2\r\nfoo()\r\n"), expected);
    EXPECT_EQ(script.errorOf("x=1\ny=2\nfoo()\n"), expected);
    EXPECT_EQ(script.errorOf("x=1\ry=2\rfoo()\r"), expected);
}

TEST(LineEnds, BlankLinesAreIgnored) {
    ScriptHarness script;
    EXPECT_EQ(asInt(script.run("\r\n\r\nx = 4\r\n\r\n\r\nx\r\n\r\n")), 4);
}

TEST(Continuation, BackslashAtLineEndJoinsLines) {
    ScriptHarness script;
    EXPECT_EQ(asInt(script.run("x = 1 + \\\n  2\nx")), 3);
    EXPECT_EQ(asInt(script.run("x = 1 + \\   \r\n  2\r\nx")), 3);
}

TEST(Continuation, BackslashAtLineStartJoinsLines) {
    ScriptHarness script;
    EXPECT_EQ(asInt(script.run("x = 1\n  \\ + 2\nx")), 3);
    EXPECT_EQ(asInt(script.run("x = 1\n\n\n\\ + 2\nx")), 3) << "blank lines before the continued line";
}

TEST(Continuation, BackslashElsewhereIsAnError) {
    ScriptHarness script;
    EXPECT_EQ(script.errorOf("x = 1 \\ + 2"),
              "Script error: `\\' can only appear at the beginning or end of a line\n(test.avs, line 1, column 8)");
}

TEST(Continuation, CommentHidesATrailingBackslash) {
    ScriptHarness script;
    EXPECT_EQ(script.errorOf("x = 1 + # note \\\n 2"), "Script error: syntax error\n(test.avs, line 1, column 0)");
}

TEST(EndMarker, EndsTheScript) {
    ScriptHarness script;
    EXPECT_EQ(asInt(script.run("x = 5\nx\n__END__\nthis is not @ a script \"")), 5);
    EXPECT_EQ(asInt(script.run("x = 6\nx\n__end__ @")), 6);
}

TEST(Characters, UnexpectedCharacterIsNamed) {
    ScriptHarness script;
    EXPECT_EQ(script.errorOf("x = 1\ny = @"), "unexpected character \"@\"\n(test.avs, line 2, column 4)");
    EXPECT_EQ(script.errorOf("x = \xC3\xA9"), "unexpected character \"\xC3\xA9\"\n(test.avs, line 1, column 4)");
}

TEST(Characters, ALaterBadCharacterDoesNotHideAnEarlierSyntaxError) {
    ScriptHarness script;
    EXPECT_EQ(script.errorOf("x = (1\ny = @"), "Script error: expected `)'\n(test.avs, line 1, column 0)");
}

}  // namespace
}  // namespace vistrel::test
