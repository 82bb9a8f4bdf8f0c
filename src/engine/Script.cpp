#include "engine/Script.h"

#include "engine/ScriptError.h"

namespace vistrel::engine {

Value evaluateScript(std::string_view, const std::string&, Environment&) {
    throw ScriptError("The script engine is not available yet.");
}

ClipPtr evaluateScriptClip(std::string_view text, const std::string& pathForMessages, Environment& env) {
    Value value = evaluateScript(text, pathForMessages, env);
    if (!isClip(value))
        throw ScriptError("The script's return value was not a video clip, (Is " + typeDescription(value) + ").");
    return std::get<ClipPtr>(value);
}

ClipPtr evaluateScriptFile(const std::string&, Environment&) {
    throw ScriptError("The script engine is not available yet.");
}

}  // namespace vistrel::engine
