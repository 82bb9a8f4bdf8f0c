// Binding a call's arguments against signature strings.
#include "engine/script/FunctionRegistry.h"
#include "engine/script/ScriptHarness.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vistrel::test {
namespace {

using namespace vistrel::engine;

// How a probe saw its arguments: one field per parameter, "-" when not given.
std::string describe(const Args& args) {
    std::ostringstream out;
    for (size_t i = 0; i < args.size(); ++i) {
        if (i) out << ' ';
        if (!args.defined(i)) {
            out << '-';
            continue;
        }
        const auto& values = args.repeated(i);
        for (size_t k = 0; k < values.size(); ++k) {
            if (k) out << ',';
            const Value& v = values[k];
            if (isClip(v))
                out << 'c' << std::get<ClipPtr>(v)->info().frameCount;
            else if (auto* n = std::get_if<int32_t>(&v))
                out << 'i' << *n;
            else if (auto* f = std::get_if<double>(&v))
                out << 'f' << *f;
            else if (auto* s = std::get_if<std::string>(&v))
                out << 's' << *s;
            else if (auto* b = std::get_if<bool>(&v))
                out << 'b' << *b;
        }
    }
    return out.str();
}

FunctionDef probe(const std::string& name, const std::string& signature, const std::string& tag = "") {
    return {name, signature,
            [tag](const Args& args, Environment&) { return Value(tag.empty() ? describe(args) : tag); }};
}

class Binding : public ::testing::Test {
protected:
    Binding()
        : script({testClipFunction(), probe("Opt", "i[b]i[c]f"), probe("Over", "f", "float"), probe("Over", "i", "int"),
                  probe("Many", "cc+i"), probe("Blank", "c*[length]i[width]i"), probe("Any", ".[x]."),
                  probe("Strings", "s+[flag]b"), probe("NeedsClip", "ci")}) {}

    std::string bound(const std::string& text) {
        const Value v = script.run(text);
        return std::holds_alternative<std::string>(v) ? std::get<std::string>(v) : "(not a probe result)";
    }

    ScriptHarness script;
};

TEST_F(Binding, PositionalValuesFillOptionalParametersInOrder) {
    EXPECT_EQ(bound("Opt(1)"), "i1 - -");
    EXPECT_EQ(bound("Opt(1, 2)"), "i1 i2 -");
    EXPECT_EQ(bound("Opt(1, 2, 3)"), "i1 i2 f3") << "an int given for a float becomes a float";
}

TEST_F(Binding, NamedValuesInAnyOrderAndCase) {
    EXPECT_EQ(bound("Opt(1, C=2.5, b=7)"), "i1 i7 f2.5");
    EXPECT_EQ(bound("Opt(1, c=4)"), "i1 - f4");
}

TEST_F(Binding, NoMatchIsInvalidArguments) {
    const std::string invalid = "Script error: Invalid arguments to function 'Opt'.\n(test.avs, line 1)";
    EXPECT_EQ(script.errorOf("Opt()"), invalid) << "missing required";
    EXPECT_EQ(script.errorOf("Opt(1, d=2)"), invalid) << "unknown name";
    EXPECT_EQ(script.errorOf("Opt(1.5)"), invalid) << "a float is never taken for an int";
    EXPECT_EQ(script.errorOf("Opt(1, 2, 3, 4)"), invalid) << "too many";
    EXPECT_EQ(script.errorOf("Opt(1, \"2\")"), invalid) << "wrong positional type";
}

TEST_F(Binding, NamedValueErrorsOnceTheSignatureFits) {
    EXPECT_EQ(script.errorOf("Opt(1, b=\"x\")"),
              "Script error: the named argument \"b\" to Opt had the wrong type (passed 's')\n(test.avs, line 1)");
    EXPECT_EQ(script.errorOf("Opt(1, c=true)"),
              "Script error: the named argument \"c\" to Opt had the wrong type (passed 'b')\n(test.avs, line 1)");
    EXPECT_EQ(script.errorOf("Opt(1, 2, b=3)"),
              "Script error: the named argument \"b\" was passed more than once to Opt\n(test.avs, line 1)");
}

TEST_F(Binding, ExactTypesWinOverConversionWhateverTheOrder) {
    EXPECT_EQ(bound("Over(1)"), "int");
    EXPECT_EQ(bound("Over(1.0)"), "float");
}

TEST_F(Binding, RepeatedParameters) {
    EXPECT_EQ(bound("Many(TestClip(frames=1), TestClip(frames=2), TestClip(frames=3), 4)"), "c1 c2,c3 i4");
    EXPECT_EQ(script.errorOf("Many(TestClip(), 4)"),
              "Script error: Invalid arguments to function 'Many'.\n(test.avs, line 1)")
        << "+ needs one value";
    EXPECT_EQ(bound("Blank(100, 176)"), "- i100 i176");
    EXPECT_EQ(bound("Blank(TestClip(frames=9), length=3)"), "c9 i3 -");
    EXPECT_EQ(bound("Strings(\"a\", \"b\", true)"), "sa,sb b1");
}

TEST_F(Binding, LastNeverBecomesATemplateWhenTheCallFitsAlone) {
    EXPECT_EQ(bound("TestClip(frames=9)\nBlank(100, 176)"), "- i100 i176");
}

TEST_F(Binding, LastIsPutInFrontOnlyWhenNeeded) {
    EXPECT_EQ(bound("TestClip(frames=9)\nNeedsClip(3)"), "c9 i3");
    EXPECT_EQ(script.errorOf("NeedsClip(3)"),
              "Script error: Invalid arguments to function 'NeedsClip'.\n(test.avs, line 1)");
}

TEST_F(Binding, AnyTypeParameter) {
    EXPECT_EQ(bound("Any(\"s\", x=2)"), "ss i2");
    EXPECT_EQ(bound("Any(TestClip(frames=4))"), "c4 -");
}

TEST(Signatures, AreRead) {
    const Signature signature = parseSignature("cc+[fps]f.*");
    ASSERT_EQ(signature.size(), 4u);
    EXPECT_EQ(signature[1].repeat, Parameter::Repeat::OneOrMore);
    EXPECT_EQ(signature[2].name, "fps");
    EXPECT_EQ(signature[2].type, 'f');
    EXPECT_TRUE(signature[2].optional());
    EXPECT_EQ(signature[3].repeat, Parameter::Repeat::ZeroOrMore);
}

TEST(Signatures, MalformedOnesAreRefused) {
    EXPECT_THROW(parseSignature("[name"), std::invalid_argument);
    EXPECT_THROW(parseSignature("[]i"), std::invalid_argument);
    EXPECT_THROW(parseSignature("x"), std::invalid_argument);
    EXPECT_THROW(parseSignature("[n]"), std::invalid_argument);
}

TEST(FunctionTable, EveryEntryHasABodyAndASignatureThatReads) {
    for (const FunctionDef& function : functionTable()) {
        SCOPED_TRACE(function.name + " \"" + function.signature + "\"");
        EXPECT_TRUE(static_cast<bool>(function.body));
        EXPECT_NO_THROW(parseSignature(function.signature));
    }
}

TEST(FunctionTable, HoldsEveryFunctionTheWrittenScriptsUse) {
    for (const char* name : {"avisource", "killaudio", "trim", "dissolve", "audiodub", "fadein", "fadeout",
                             "bilinearresize", "converttorgb32", "blankclip", "framecount", "framerate",
                             "stackhorizontal", "version", "addborders", "subtitle"}) {
        EXPECT_FALSE(standardFunctions().overloadsOf(name).empty()) << name;
    }
}

}  // namespace
}  // namespace vistrel::test
