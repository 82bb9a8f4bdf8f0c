#pragma once
// Runs a parsed script: variables (names without regard to case), `last`,
// function calls with implicit `last`, and the line of the statement added to
// every error in one place.

#include "engine/script/Ast.h"
#include "engine/script/Binder.h"
#include "engine/script/FunctionRegistry.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vistrel::engine {

class Interpreter {
public:
    Interpreter(Environment& env, std::string pathForMessages, const FunctionRegistry& functions);

    // Sets a variable before the script runs (the host's or a test's values).
    void setVariable(const std::string& name, Value value);

    // Reads and runs a whole script; a syntax error becomes a ScriptError
    // ending in "(<path>, line N, column C)".
    Value runText(std::string_view text);

    // The script's value: its final statement's, or its `return`'s. After every
    // other statement a clip value becomes `last`.
    Value run(const Program& program);

    // A name on its own: a variable; else a function without arguments; else a
    // function applied to `last`; else "I don't know what 'x' means."
    Value resolveName(const std::string& name);

    // f(args) is matched as written first, then, unless it is a dot call, with
    // `last` in front when `last` is a clip.
    Value call(const std::string& name, std::vector<Argument> arguments, bool dotCall);

private:
    Value runStatement(const Statement& statement);
    std::optional<Value> variable(const std::string& name) const;
    std::optional<ClipPtr> lastClip() const;
    std::optional<Value> tryOverloads(const std::vector<Overload>& overloads, const std::vector<Argument>& arguments);
    std::optional<Value> tryOverloadsWithLast(const std::vector<Overload>& overloads,
                                              const std::vector<Argument>& arguments);
    Value invoke(const Overload& overload, const Args& args);

    Environment& env_;
    std::string path_;
    const FunctionRegistry& functions_;
    std::unordered_map<std::string, Value> locals_;  // keyed by the lower-case name
    std::unordered_map<std::string, Value> globals_;
};

}  // namespace vistrel::engine
