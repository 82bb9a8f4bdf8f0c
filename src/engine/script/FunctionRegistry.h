#pragma once
// The functions scripts can call: each one's parameters, read from its
// signature string (`Signature`), and the table of them by name
// (`FunctionRegistry`).

#include "engine/Functions.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vistrel::engine {

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

    // The engine's own functions (functionTable()), read once.
    static const FunctionRegistry& standard();

    // The overloads of a function in table order; empty when there is none.
    const std::vector<Overload>& overloadsOf(std::string_view name) const;

private:
    std::unordered_map<std::string, std::vector<Overload>> byName_;  // keyed by the lower-case name
};

}  // namespace vistrel::engine
