#pragma once
// A table of functions indexed by name (without regard to case), each entry
// with its signature already read. Scripts run against the engine's table;
// tests may build one of their own.

#include "engine/Functions.h"
#include "engine/script/Signature.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vistrel::engine {

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
