#include "engine/script/Operators.h"

#include "engine/clips/Splice.h"
#include "engine/core/ScriptError.h"
#include "engine/script/Names.h"

#include <cstdint>
#include <limits>

namespace vistrel::engine {

namespace {

bool isInt(const Value& v) { return std::holds_alternative<int32_t>(v); }
bool isNumber(const Value& v) { return isInt(v) || std::holds_alternative<double>(v); }
bool isString(const Value& v) { return std::holds_alternative<std::string>(v); }
bool isBool(const Value& v) { return std::holds_alternative<bool>(v); }

int32_t asInt(const Value& v) { return std::get<int32_t>(v); }
double asNumber(const Value& v) { return isInt(v) ? double(std::get<int32_t>(v)) : std::get<double>(v); }
const std::string& asString(const Value& v) { return std::get<std::string>(v); }

// 32-bit arithmetic that wraps, as the ints of the language do, without undefined behaviour.
int32_t wrap(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value))); }

Value add(const Value& a, const Value& b) {
    if (isClip(a) && isClip(b)) return Value(makeSplice(std::get<ClipPtr>(a), std::get<ClipPtr>(b), false));
    if (isInt(a) && isInt(b)) return Value(wrap(int64_t(asInt(a)) + asInt(b)));
    if (isNumber(a) && isNumber(b)) return Value(asNumber(a) + asNumber(b));
    if (isString(a) && isString(b)) return Value(asString(a) + asString(b));
    throw ScriptError("Evaluate: operands of `+' must both be numbers, strings, or clips");
}

Value alignedSplice(const Value& a, const Value& b) {
    if (isClip(a) && isClip(b)) return Value(makeSplice(std::get<ClipPtr>(a), std::get<ClipPtr>(b), true));
    throw ScriptError("Evaluate: operands of `++' must be clips");
}

Value subtract(const Value& a, const Value& b) {
    if (isInt(a) && isInt(b)) return Value(wrap(int64_t(asInt(a)) - asInt(b)));
    if (isNumber(a) && isNumber(b)) return Value(asNumber(a) - asNumber(b));
    throw ScriptError("Evaluate: operands of `-' must be numeric");
}

Value multiply(const Value& a, const Value& b) {
    if (isInt(a) && isInt(b)) return Value(wrap(int64_t(asInt(a)) * asInt(b)));
    if (isNumber(a) && isNumber(b)) return Value(asNumber(a) * asNumber(b));
    throw ScriptError("Evaluate: operands of `*' must be numeric");
}

Value divide(const Value& a, const Value& b) {
    if (isInt(a) && isInt(b)) {
        if (asInt(b) == 0) throw ScriptError("Evaluate: division by zero");
        return Value(wrap(int64_t(asInt(a)) / asInt(b)));  // INT_MIN / -1 wraps instead of trapping
    }
    if (isNumber(a) && isNumber(b)) return Value(asNumber(a) / asNumber(b));
    throw ScriptError("Evaluate: operands of `/' must be numeric");
}

Value modulo(const Value& a, const Value& b) {
    if (!isInt(a) || !isInt(b)) throw ScriptError("Evaluate: operands of `%' must be integers");
    if (asInt(b) == 0) throw ScriptError("Evaluate: division by zero");
    return Value(wrap(int64_t(asInt(a)) % asInt(b)));
}

bool equal(const Value& a, const Value& b) {
    if (isBool(a) && isBool(b)) return std::get<bool>(a) == std::get<bool>(b);
    if (isInt(a) && isInt(b)) return asInt(a) == asInt(b);
    if (isNumber(a) && isNumber(b)) return asNumber(a) == asNumber(b);
    if (isClip(a) && isClip(b)) return std::get<ClipPtr>(a) == std::get<ClipPtr>(b);
    if (isString(a) && isString(b)) return compareIgnoringCase(asString(a), asString(b)) == 0;
    throw ScriptError("Evaluate: operands of `==' and `!=' must be comparable");
}

bool less(const Value& a, const Value& b) {
    if (isInt(a) && isInt(b)) return asInt(a) < asInt(b);
    if (isNumber(a) && isNumber(b)) return asNumber(a) < asNumber(b);
    if (isString(a) && isString(b)) return compareIgnoringCase(asString(a), asString(b)) < 0;
    throw ScriptError("Evaluate: operands of `<' and friends must be string or numeric");
}

}  // namespace

Value applyBinary(BinaryOperator op, const Value& left, const Value& right) {
    switch (op) {
    case BinaryOperator::Add: return add(left, right);
    case BinaryOperator::Splice: return alignedSplice(left, right);
    case BinaryOperator::Subtract: return subtract(left, right);
    case BinaryOperator::Multiply: return multiply(left, right);
    case BinaryOperator::Divide: return divide(left, right);
    case BinaryOperator::Modulo: return modulo(left, right);
    case BinaryOperator::Equal: return Value(equal(left, right));
    case BinaryOperator::NotEqual: return Value(!equal(left, right));
    case BinaryOperator::Less: return Value(less(left, right));
    case BinaryOperator::Greater: return Value(less(right, left));
    case BinaryOperator::LessOrEqual: return Value(!less(right, left));
    case BinaryOperator::GreaterOrEqual: return Value(!less(left, right));
    }
    throw ScriptError("Evaluate: unknown operator");
}

Value negate(const Value& operand) {
    if (isInt(operand)) return Value(wrap(-int64_t(asInt(operand))));
    if (isNumber(operand)) return Value(-asNumber(operand));
    throw ScriptError("Evaluate: unary minus can only by used with numbers");
}

Value logicalNot(const Value& operand) {
    return Value(!requireBool(operand, "Evaluate: operand of `!' must be boolean (true/false)"));
}

bool requireBool(const Value& value, const std::string& message) {
    if (!isBool(value)) throw ScriptError(message);
    return std::get<bool>(value);
}

}  // namespace vistrel::engine
