// The scripts Vistrel writes bind against the engine's real signatures:
// every function is replaced by a recorder that keeps its bound arguments.
#include "engine/script/ScriptHarness.h"
#include "engine/script/WrittenScripts.h"

#include <gtest/gtest.h>

#include <memory>

namespace vistrel::test {
namespace {

using namespace vistrel::engine;

struct RecordedCall {
    std::string name;
    Args args;
    Value result;
};

constexpr double kNtscRate = 30000.0 / 1001.0;

class Recorder {
public:
    std::vector<FunctionDef> table() {
        std::vector<FunctionDef> recorded;
        for (const FunctionDef& real : functionTable()) {
            recorded.push_back({real.name, real.signature, [this, name = real.name](const Args& args, Environment&) {
                                    return record(name, args);
                                }});
        }
        return recorded;
    }

    std::vector<const RecordedCall*> callsTo(const std::string& name) const {
        std::vector<const RecordedCall*> found;
        for (const auto& call : calls_)
            if (call->name == name) found.push_back(call.get());
        return found;
    }

    const RecordedCall& onlyCallTo(const std::string& name) const {
        const auto found = callsTo(name);
        if (found.size() != 1) throw std::runtime_error(name + " called " + std::to_string(found.size()) + " times");
        return *found.front();
    }

private:
    Value record(const std::string& name, const Args& args) {
        auto call = std::make_unique<RecordedCall>(RecordedCall{name, args, Undefined{}});
        if (name == "FrameCount")
            call->result = int32_t(100);
        else if (name == "FrameRate")
            call->result = kNtscRate;
        else
            call->result = ClipPtr(IndexedClip::make(smallClipShape()));
        calls_.push_back(std::move(call));
        return calls_.back()->result;
    }

    std::vector<std::unique_ptr<RecordedCall>> calls_;
};

ClipPtr clipOf(const Value& value) { return std::get<ClipPtr>(value); }

size_t parameterIndex(const std::string& function, const std::string& parameter) {
    const Signature signature = parseSignature(standardFunctions().overloadsOf(function).front().function.signature);
    for (size_t i = 0; i < signature.size(); ++i)
        if (signature[i].name == parameter) return i;
    throw std::runtime_error(function + " has no parameter " + parameter);
}

class WrittenScriptBinding : public ::testing::Test {
protected:
    WrittenScriptBinding() : script(recorder.table()) {}
    Recorder recorder;
    ScriptHarness script;
};

EditScriptInput workedEdit() {
    EditScriptInput input;
    input.clips = {"C:\\clips\\a.avi", "C:\\clips\\b.avi"};
    input.startFrames = {"0", "150"};
    input.switches = {"00000000|A", "00000300|B", "00000500|A"};
    input.fadeIn = "fadein(overlap)";
    return input;
}

TEST_F(WrittenScriptBinding, EditScriptTextIsAsWritten) {
    const std::string text = editScript(workedEdit());
    EXPECT_EQ(text.size(), 539u);
    EXPECT_NE(text.find("A1=angleA.trim(281,500)\r\n"), std::string::npos);
    EXPECT_NE(text.find("video=dissolve(A0, B1, A2, overlap)\r\n"), std::string::npos);
}

TEST_F(WrittenScriptBinding, EditScript) {
    const Value value = script.run(editScript(workedEdit()), "C:\\edits\\cut.avs");

    const auto sources = recorder.callsTo("AVISource");
    ASSERT_EQ(sources.size(), 3u);
    EXPECT_EQ(std::get<std::string>(sources[0]->args.repeated(0).at(0)), "C:\\clips\\a.avi");
    EXPECT_EQ(std::get<std::string>(sources[2]->args.repeated(0).at(0)), "C:\\clips\\b.avi");
    EXPECT_FALSE(sources[0]->args.defined(1));

    std::vector<std::pair<int, int>> trims;
    for (const RecordedCall* trim : recorder.callsTo("Trim")) {
        ASSERT_EQ(trim->args.size(), 5u);
        trims.emplace_back(trim->args.intOr(1, -1), trim->args.intOr(2, -1));
    }
    const std::vector<std::pair<int, int>> expected = {{0, 0},   {0, 300}, {281, 500}, {481, 0},
                                                       {150, 0}, {0, 300}, {281, 500}, {481, 0}};
    EXPECT_EQ(trims, expected);

    const auto trimCalls = recorder.callsTo("Trim");
    const RecordedCall& dissolve = recorder.onlyCallTo("Dissolve");
    EXPECT_EQ(dissolve.args.clip(0), clipOf(trimCalls[1]->result)) << "A0";
    ASSERT_EQ(dissolve.args.repeated(1).size(), 2u);
    EXPECT_EQ(clipOf(dissolve.args.repeated(1)[0]), clipOf(trimCalls[6]->result)) << "B1";
    EXPECT_EQ(clipOf(dissolve.args.repeated(1)[1]), clipOf(trimCalls[3]->result)) << "A2";
    EXPECT_EQ(dissolve.args.intOr(2, -1), 20);

    const RecordedCall& dub = recorder.onlyCallTo("AudioDub");
    EXPECT_EQ(dub.args.clip(0), clipOf(dissolve.result));
    EXPECT_EQ(dub.args.clip(1), clipOf(sources[0]->result));

    const RecordedCall& fade = recorder.onlyCallTo("FadeIn");
    EXPECT_EQ(fade.args.clip(0), clipOf(dub.result)) << "the fade applies to last";
    EXPECT_EQ(fade.args.intOr(1, -1), 20);
    EXPECT_TRUE(recorder.callsTo("FadeOut").empty());
    EXPECT_EQ(clipOf(value), clipOf(fade.result)) << "the script's value is the final statement's";
}

TEST_F(WrittenScriptBinding, EditScriptWithoutFadesGivesTheDubbedClip) {
    EditScriptInput input = workedEdit();
    input.fadeIn.clear();
    const Value value = script.run(editScript(input));
    EXPECT_EQ(clipOf(value), clipOf(recorder.onlyCallTo("AudioDub").result));
}

TEST_F(WrittenScriptBinding, EditScriptWithBothFades) {
    EditScriptInput input = workedEdit();
    input.fadeOut = "fadeout(overlap)";
    const Value value = script.run(editScript(input));
    const RecordedCall& fadeIn = recorder.onlyCallTo("FadeIn");
    const RecordedCall& fadeOut = recorder.onlyCallTo("FadeOut");
    EXPECT_EQ(fadeOut.args.clip(0), clipOf(fadeIn.result));
    EXPECT_EQ(clipOf(value), clipOf(fadeOut.result));
}

TEST_F(WrittenScriptBinding, EditScriptWithASegmentStartingBeforeTheClip) {
    EditScriptInput input = workedEdit();
    input.switches = {"00000000|A", "00000010|B"};
    const std::string text = editScript(input);
    ASSERT_NE(text.find("A1=angleA.trim(-9,0)"), std::string::npos);
    script.run(text);
    EXPECT_EQ(recorder.callsTo("Trim")[2]->args.intOr(1, 0), -9);
}

class PreviewBinding : public WrittenScriptBinding, public ::testing::WithParamInterface<int> {};

TEST_P(PreviewBinding, Preview) {
    const int angles = GetParam();
    std::vector<std::string> clips, starts;
    for (int i = 0; i < angles; ++i) {
        clips.push_back("D:\\shoot\\cam" + std::to_string(i + 1) + ".avi");
        starts.push_back(std::to_string(i * 45));
    }
    const Value value = script.run(previewScript(clips, starts, "20", "", "fadeout(overlap)"), "/tmp/preview.avs");

    const auto resizes = recorder.callsTo("BilinearResize");
    ASSERT_EQ(resizes.size(), size_t(angles));
    EXPECT_EQ(resizes[0]->args.intOr(1, 0), 176);
    EXPECT_EQ(resizes[0]->args.intOr(2, 0), 120);
    EXPECT_FALSE(resizes[0]->args.defined(3));
    EXPECT_EQ(recorder.callsTo("ConvertToRGB32").size(), size_t(angles));

    const RecordedCall& blank = recorder.onlyCallTo("BlankClip");
    EXPECT_TRUE(blank.args.repeated(0).empty()) << "no template clip";
    EXPECT_EQ(blank.args.intOr(1, 0), 100);
    EXPECT_EQ(blank.args.intOr(2, 0), 176);
    EXPECT_EQ(blank.args.intOr(3, 0), 120);
    EXPECT_EQ(blank.args.stringOr(4, ""), "rgb32");
    EXPECT_EQ(std::get<double>(blank.args.at(5)), kNtscRate);

    const auto trims = recorder.callsTo("Trim");
    const RecordedCall& stack = recorder.onlyCallTo("StackHorizontal");
    EXPECT_EQ(stack.args.clip(0), clipOf(trims[0]->result));
    const auto& rest = stack.args.repeated(1);
    ASSERT_EQ(rest.size(), 3u);
    for (int column = 1; column < 4; ++column) {
        const ClipPtr expected = column < angles ? clipOf(trims[column]->result) : clipOf(blank.result);
        EXPECT_EQ(clipOf(rest[column - 1]), expected) << "column " << column;
    }

    EXPECT_TRUE(recorder.callsTo("FadeIn").empty());
    const RecordedCall& fade = recorder.onlyCallTo("FadeOut");
    EXPECT_EQ(fade.args.clip(0), clipOf(stack.result));
    EXPECT_EQ(clipOf(value), clipOf(fade.result));
}

INSTANTIATE_TEST_SUITE_P(Angles, PreviewBinding, ::testing::Values(2, 3, 4));

TEST_F(WrittenScriptBinding, Intro) {
    const Value value = script.run(introScript(), "/home/u/.cache/vistrel/intro.avs");
    const RecordedCall& version = recorder.onlyCallTo("Version");
    EXPECT_EQ(version.args.size(), 0u);
    const RecordedCall& borders = recorder.onlyCallTo("AddBorders");
    EXPECT_EQ(borders.args.clip(0), clipOf(version.result));
    EXPECT_EQ(borders.args.intOr(1, 0), 122);
    EXPECT_EQ(borders.args.intOr(2, 0), 20);
    EXPECT_EQ(borders.args.intOr(3, 0), 122);
    EXPECT_EQ(borders.args.intOr(4, 0), 20);
    const RecordedCall& convert = recorder.onlyCallTo("ConvertToRGB32");
    EXPECT_EQ(convert.args.clip(0), clipOf(borders.result));
    const RecordedCall& subtitle = recorder.onlyCallTo("Subtitle");
    EXPECT_EQ(subtitle.args.clip(0), clipOf(convert.result)) << "the caption goes on last";
    EXPECT_EQ(subtitle.args.stringOr(1, ""), "Vistrel is powered by:");
    EXPECT_EQ(subtitle.args.intOr(parameterIndex("Subtitle", "text_color"), 0), 0xffffff);
    EXPECT_EQ(clipOf(value), clipOf(subtitle.result));
}

}  // namespace
}  // namespace vistrel::test
