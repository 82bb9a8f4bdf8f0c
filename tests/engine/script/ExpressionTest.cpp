// Operators, precedence and the errors of the expression grammar.
#include "engine/script/ScriptHarness.h"

#include <gtest/gtest.h>

namespace vistrel::test {
namespace {

class Expressions : public ::testing::Test {
protected:
    ScriptHarness script;
};

TEST_F(Expressions, IntWithIntStaysInt) {
    EXPECT_EQ(asInt(script.run("5/2")), 2);
    EXPECT_EQ(asInt(script.run("-7/2")), -3);
    EXPECT_EQ(asInt(script.run("7%3")), 1);
    EXPECT_EQ(asInt(script.run("2*3+4")), 10);
}

TEST_F(Expressions, AFloatMakesTheResultFloat) {
    EXPECT_DOUBLE_EQ(asFloat(script.run("5/2.")), 2.5);
    EXPECT_DOUBLE_EQ(asFloat(script.run("1+.5")), 1.5);
    EXPECT_DOUBLE_EQ(asFloat(script.run("-(3*0.5)")), -1.5);
}

TEST_F(Expressions, PrecedenceAndLeftToRight) {
    EXPECT_EQ(asInt(script.run("1+2*3")), 7);
    EXPECT_EQ(asInt(script.run("(1+2)*3")), 9);
    EXPECT_EQ(asInt(script.run("10-3-2")), 5);
    EXPECT_EQ(asInt(script.run("100/10/5")), 2);
    EXPECT_EQ(asInt(script.run("-2*3")), -6);
    EXPECT_EQ(asInt(script.run("+ +4")), 4);
    EXPECT_EQ(asInt(script.run("1 < 2 ? 10 : 20")), 10);
    EXPECT_EQ(asInt(script.run("false ? 1 : true ? 2 : 3")), 2);
}

TEST_F(Expressions, IntsWrapAt32Bits) {
    EXPECT_EQ(asInt(script.run("2147483647 + 1")), -2147483647 - 1);
    EXPECT_EQ(asInt(script.run("(-2147483647 - 1) / -1")), -2147483647 - 1);
    EXPECT_EQ(asInt(script.run("(-2147483647 - 1) % -1")), 0);
    EXPECT_EQ(asInt(script.run("-(-2147483647 - 1)")), -2147483647 - 1);
}

TEST_F(Expressions, Comparisons) {
    EXPECT_TRUE(std::get<bool>(script.run("1 < 2")));
    EXPECT_TRUE(std::get<bool>(script.run("2 <= 2.0")));
    EXPECT_TRUE(std::get<bool>(script.run("3 <> 4")));
    EXPECT_TRUE(std::get<bool>(script.run("3 != 4")));
    EXPECT_FALSE(std::get<bool>(script.run("3 >= 4")));
    EXPECT_TRUE(std::get<bool>(script.run("\"ABC\" == \"abc\"")));
    EXPECT_TRUE(std::get<bool>(script.run("\"abc\" < \"ABD\"")));
    EXPECT_TRUE(std::get<bool>(script.run("1 < 2 < 3")));
    EXPECT_FALSE(std::get<bool>(script.run("3 > 1 > 2")));
}

TEST_F(Expressions, LogicShortCircuits) {
    EXPECT_FALSE(std::get<bool>(script.run("false && nosuch()")));
    EXPECT_TRUE(std::get<bool>(script.run("true || nosuch()")));
    EXPECT_TRUE(std::get<bool>(script.run("!false && !no")));
}

TEST_F(Expressions, StringsJoinWithPlus) { EXPECT_EQ(std::get<std::string>(script.run("\"ab\" + \"cd\"")), "abcd"); }

TEST_F(Expressions, OperandTypeErrors) {
    EXPECT_EQ(script.errorOf("1 + \"a\""),
              "Evaluate: operands of `+' must both be numbers, strings, or clips\n(test.avs, line 1)");
    EXPECT_EQ(script.errorOf("\"a\" - \"b\""), "Evaluate: operands of `-' must be numeric\n(test.avs, line 1)");
    EXPECT_EQ(script.errorOf("1.5 % 2"), "Evaluate: operands of `%' must be integers\n(test.avs, line 1)");
    EXPECT_EQ(script.errorOf("1 ++ 2"), "Evaluate: operands of `++' must be clips\n(test.avs, line 1)");
    EXPECT_EQ(script.errorOf("-\"a\""), "Evaluate: unary minus can only by used with numbers\n(test.avs, line 1)");
    EXPECT_EQ(script.errorOf("!1"), "Evaluate: operand of `!' must be boolean (true/false)\n(test.avs, line 1)");
    EXPECT_EQ(script.errorOf("1 ? 2 : 3"), "Evaluate: left of `?' must be boolean (true/false)\n(test.avs, line 1)");
    EXPECT_EQ(script.errorOf("1 && true"),
              "Evaluate: left operand of && must be boolean (true/false)\n(test.avs, line 1)");
    EXPECT_EQ(script.errorOf("false || 2"),
              "Evaluate: right operand of || must be boolean (true/false)\n(test.avs, line 1)");
    EXPECT_EQ(script.errorOf("1 == \"1\""),
              "Evaluate: operands of `==' and `!=' must be comparable\n(test.avs, line 1)");
    EXPECT_EQ(script.errorOf("true < false"),
              "Evaluate: operands of `<' and friends must be string or numeric\n(test.avs, line 1)");
}

TEST_F(Expressions, DivisionByZero) {
    EXPECT_EQ(script.errorOf("x = 1\ny = 4 / (x - 1)"), "Evaluate: division by zero\n(test.avs, line 2)");
    EXPECT_EQ(script.errorOf("4 % 0"), "Evaluate: division by zero\n(test.avs, line 1)");
}

TEST_F(Expressions, ClipsCompareByIdentity) {
    EXPECT_TRUE(std::get<bool>(script.run("a = TestClip()\nb = a\na == b")));
    EXPECT_FALSE(std::get<bool>(script.run("TestClip() == TestClip()")));
}

TEST(SyntaxErrors, PlaceIsLineAndColumnJustPastTheToken) {
    ScriptHarness script;
    EXPECT_EQ(script.errorOf("overlap=\r\nx=1\r\n"), "Script error: syntax error\n(test.avs, line 1, column 0)");
    EXPECT_EQ(script.errorOf("x = 1\ntrim(1 2)"), "Script error: expected a , or )\n(test.avs, line 2, column 8)");
    EXPECT_EQ(script.errorOf("x = (1 + 2"), "Script error: expected `)'\n(test.avs, line 1, column 10)");
    EXPECT_EQ(script.errorOf("a = 1 ? 2 3"), "Script error: expected `:'\n(test.avs, line 1, column 11)");
    EXPECT_EQ(script.errorOf("x = )"), "Script error: syntax error\n(test.avs, line 1, column 5)");
}

TEST(SyntaxErrors, StatementForms) {
    ScriptHarness script;
    EXPECT_EQ(script.errorOf("1 = 2"),
              "Script error: left operand of `=' must be a variable name\n(test.avs, line 1, column 3)");
    EXPECT_EQ(script.errorOf("f() = 2"),
              "Script error: left operand of `=' must be a variable name\n(test.avs, line 1, column 5)");
    EXPECT_EQ(script.errorOf("global 3 = 1"),
              "Script error: `global' must be followed by a variable name\n(test.avs, line 1, column 8)");
    EXPECT_EQ(script.errorOf("x.(3)"),
              "Script error: expected function name following `.'\n(test.avs, line 1, column 3)");
    EXPECT_EQ(script.errorOf("x = 1 & 2"), "Script error: syntax error\n(test.avs, line 1, column 7)");
}

TEST(SyntaxErrors, TheWholeScriptIsReadBeforeAnyOfItRuns) {
    ScriptHarness script;
    EXPECT_EQ(script.errorOf("nosuch()\nx = (\n"), "Script error: syntax error\n(test.avs, line 2, column 0)");
}

TEST(SyntaxErrors, DeepNestingIsRefusedNotACrash) {
    ScriptHarness script;
    const std::string parentheses = std::string(5000, '(') + "1" + std::string(5000, ')');
    EXPECT_NE(script.errorOf(parentheses).find("Script error: expression nested too deeply"), std::string::npos);
    std::string longSum = "1";
    for (int i = 0; i < 20000; ++i) longSum += "+1";
    EXPECT_NE(script.errorOf(longSum).find("Script error: expression nested too deeply"), std::string::npos);
    EXPECT_NE(script.errorOf(std::string(20000, '-') + "1").find("nested too deeply"), std::string::npos);
    std::string calls = "TestClip()";
    for (int i = 0; i < 20000; ++i) calls += ".KillAudio()";
    EXPECT_NE(script.errorOf(calls).find("nested too deeply"), std::string::npos);
}

TEST(SyntaxErrors, ModestNestingIsFine) {
    ScriptHarness script;
    const std::string parentheses = std::string(100, '(') + "1" + std::string(100, ')');
    EXPECT_EQ(asInt(script.run(parentheses)), 1);
    std::string sum = "0";
    for (int i = 0; i < 500; ++i) sum += "+1";
    EXPECT_EQ(asInt(script.run(sum)), 500);
}

}  // namespace
}  // namespace vistrel::test
