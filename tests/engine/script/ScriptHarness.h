#pragma once
// Runs script text in tests against a function table of the test's choosing:
// by default the engine's own functions plus TestClip, which makes an
// IndexedClip:
//   TestClip([frames]i[audio_rate]i[channels]i[audio_samples]i[video]b[float_audio]b[fps]i)
// Variables may be set before the script runs.

#include "engine/filters/FunctionTable.h"
#include "engine/script/FunctionRegistry.h"
#include "support/IndexedClip.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vistrel::test {

engine::FunctionDef testClipFunction();

class ScriptHarness {
public:
    ScriptHarness();
    explicit ScriptHarness(const std::vector<engine::FunctionDef>& table);

    void set(const std::string& name, engine::Value value) { variables_.emplace_back(name, std::move(value)); }

    engine::Value run(std::string_view text, const std::string& path = "test.avs");
    engine::ClipPtr runClip(std::string_view text);
    // The message of the ScriptError the script ends with, or "(no error)".
    std::string errorOf(std::string_view text, const std::string& path = "test.avs");

    engine::Environment env;

private:
    engine::FunctionRegistry registry_;
    std::vector<std::pair<std::string, engine::Value>> variables_;
};

int32_t asInt(const engine::Value& value);
double asFloat(const engine::Value& value);
engine::ClipPtr asClip(const engine::Value& value);

}  // namespace vistrel::test
