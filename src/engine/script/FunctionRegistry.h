#pragma once
// The functions scripts can call: each one's name, signature string and
// body (`FunctionDef`), its parameters read from the signature
// (`Signature`), and the table of them by name (`FunctionRegistry`). The
// engine's own table is filters/FunctionTable.h.
//
// A signature is written in AviSynth's notation; the evaluator binds a
// call's arguments against it (types, positional and named arguments,
// defaults left undefined) and hands the body an Args in the signature's
// order. Example: Trim "ci[end]i[pad]b[cache]b".

#include "engine/script/Args.h"
#include "engine/script/Environment.h"

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vistrel::engine {

using FunctionBody = std::function<Value(const Args&, Environment&)>;

struct FunctionDef {
    std::string name;  // as AviSynth spells it, matched without regard to case
    std::string signature;
    FunctionBody body;
};

// A function's parameters, read from its signature string: letters c i f s b
// and "." (any value), a letter followed by "*" takes zero or more values and
// "+" one or more, and "[name]" before a letter makes the parameter optional,
// given by position or by name.
struct Parameter {
    enum class Repeat { Once, ZeroOrMore, OneOrMore };

    std::string name;  // empty: a required positional parameter
    char type = '.';
    Repeat repeat = Repeat::Once;

    bool optional() const { return !name.empty(); }
    bool repeated() const { return repeat != Repeat::Once; }
};

using Signature = std::vector<Parameter>;

// Throws std::invalid_argument for a malformed signature (a fault in the table).
Signature parseSignature(std::string_view text);

// A table of functions indexed by name (without regard to case), each entry
// with its signature already read. Scripts run against the engine's table;
// tests may build one of their own.
struct Overload {
    FunctionDef function;
    Signature signature;
};

class FunctionRegistry {
public:
    explicit FunctionRegistry(const std::vector<FunctionDef>& table);

    // The overloads of a function in table order; empty when there is none.
    const std::vector<Overload>& overloadsOf(std::string_view name) const;

private:
    std::unordered_map<std::string, std::vector<Overload>> byName_;  // keyed by the lower-case name
};

}  // namespace vistrel::engine
