#pragma once
// A function's parameters, read from its signature string: letters c i f s b
// and "." (any value), a letter followed by "*" takes zero or more values and
// "+" one or more, and "[name]" before a letter makes the parameter optional,
// given by position or by name.

#include <string>
#include <string_view>
#include <vector>

namespace vistrel::engine {

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

}  // namespace vistrel::engine
