#pragma once
// The arithmetic, comparison and logic of the script language. An int with an
// int stays an int (wrapping at 32 bits, 5/2 = 2); with a float involved the
// result is a float. On two clips + is an unaligned splice and ++ an aligned
// one. Errors use AviSynth's wording ("Evaluate: division by zero").

#include "engine/script/Ast.h"
#include "engine/script/Value.h"

#include <string>

namespace vistrel::engine {

Value applyBinary(BinaryOperator op, const Value& left, const Value& right);
Value negate(const Value& operand);
Value logicalNot(const Value& operand);

// The bool inside value, or a ScriptError with the message.
bool requireBool(const Value& value, const std::string& message);

}  // namespace vistrel::engine
