#include "engine/script/ScriptHarness.h"

#include "engine/core/ScriptError.h"
#include "engine/script/Interpreter.h"

#include <gtest/gtest.h>

namespace vistrel::test {

using namespace vistrel::engine;

namespace {
std::vector<FunctionDef> standardWithTestClip() {
    std::vector<FunctionDef> table = functionTable();
    table.push_back(testClipFunction());
    return table;
}
}  // namespace

FunctionDef testClipFunction() {
    return {"TestClip", "[frames]i[audio_rate]i[channels]i[audio_samples]i[video]b[float_audio]b[fps]i",
            [](const Args& args, Environment&) {
                IndexedClipShape shape = smallClipShape();
                shape.frames = args.intOr(0, 50);
                shape.audioRate = args.intOr(1, 48000);
                shape.channels = args.intOr(2, 1);
                shape.audioSamples = args.intOr(3, -1);
                if (!args.boolOr(4, true)) shape.width = 0;
                if (args.boolOr(5, false)) shape.sampleType = SampleType::Float32;
                shape.fps = {args.intOr(6, 24), 1};
                return Value(ClipPtr(IndexedClip::make(shape)));
            }};
}

ScriptHarness::ScriptHarness() : ScriptHarness(standardWithTestClip()) {}

ScriptHarness::ScriptHarness(const std::vector<FunctionDef>& table) : registry_(table) {}

Value ScriptHarness::run(std::string_view text, const std::string& path) {
    Interpreter interpreter(env, path, registry_);
    for (const auto& [name, value] : variables_) interpreter.setVariable(name, value);
    return interpreter.runText(text);
}

ClipPtr ScriptHarness::runClip(std::string_view text) { return asClip(run(text)); }

std::string ScriptHarness::errorOf(std::string_view text, const std::string& path) {
    try {
        run(text, path);
    } catch (const ScriptError& error) {
        return error.what();
    }
    return "(no error)";
}

int32_t asInt(const Value& value) {
    EXPECT_TRUE(std::holds_alternative<int32_t>(value)) << "not an int: " << typeDescription(value);
    return std::holds_alternative<int32_t>(value) ? std::get<int32_t>(value) : 0;
}

double asFloat(const Value& value) {
    EXPECT_TRUE(std::holds_alternative<double>(value)) << "not a float: " << typeDescription(value);
    return std::holds_alternative<double>(value) ? std::get<double>(value) : 0.0;
}

ClipPtr asClip(const Value& value) {
    if (!isClip(value)) throw std::runtime_error("not a clip: " + typeDescription(value));
    return std::get<ClipPtr>(value);
}

}  // namespace vistrel::test
