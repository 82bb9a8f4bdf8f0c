#pragma once
// Matches a call's arguments against one signature. Positional values fill
// the parameters in order, optional ones included; a repeated parameter takes
// values while their type fits. Named values then go to the optional
// parameter of that name, in any order and any case.
//
// An int is accepted for a float only when intForFloat is set (the evaluator
// first tries every overload without that conversion) and is then stored as
// a float. A named value is always converted.

#include "engine/script/FunctionRegistry.h"

#include <optional>
#include <string>
#include <vector>

namespace vistrel::engine {

struct Argument {
    std::string name;  // empty for a positional argument
    Value value;
};

// The bound arguments, or nothing when the call does not fit this signature.
// Once the positional values fit and every name exists, the signature is the
// one the call means: a named value of the wrong type, or one given twice,
// is then a ScriptError naming functionName.
std::optional<Args> bindArguments(const Signature& signature, const std::vector<Argument>& arguments, bool intForFloat,
                                  const std::string& functionName);

}  // namespace vistrel::engine
