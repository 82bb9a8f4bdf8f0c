#pragma once
// Running a script: the text is tokenized, parsed and evaluated against the
// function table. Every error is a ScriptError whose message ends with where
// it happened: "\n(<path>, line N)" for a failure while running a statement,
// "\n(<path>, line N, column C)" for a syntax error.
//
// The Environment is used only while the script is evaluated; the clips it
// returns hold what they need themselves.

#include "engine/script/Environment.h"
#include "engine/script/Value.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace vistrel::engine {

// The script's value: the value of its final statement, or of its first
// `return`. A script whose final statement is an assignment has no value
// (Undefined).
Value evaluateScript(std::string_view text, const std::string& pathForMessages, Environment& env);

// As evaluateScript, for a script that must give a clip. Otherwise throws
// "The script's return value was not a video clip, (Is the undefined value)."
// (or "(Is an int, 7)." and so on), without a line.
ClipPtr evaluateScriptClip(std::string_view text, const std::string& pathForMessages, Environment& env);

// Reads and runs a script file; error messages name the path as given.
// A relative path starts from env.scriptFolder (the folder of the script
// that names it), and while the script runs env.scriptFolder is its own
// folder. A script that loads itself, directly or through other scripts,
// fails with "AVISource: script loads itself: '<path>'" instead of recursing.
ClipPtr evaluateScriptFile(const std::string& path, Environment& env);

}  // namespace vistrel::engine
