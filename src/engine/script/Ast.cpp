#include "engine/script/Ast.h"

#include "engine/script/Interpreter.h"
#include "engine/script/Operators.h"

#include <algorithm>

namespace vistrel::engine {

namespace {
int deeper(const ExpressionPtr& a, const ExpressionPtr& b) { return std::max(a->depth(), b->depth()) + 1; }

int callDepth(const std::vector<ArgumentExpression>& arguments) {
    int deepest = 0;
    for (const auto& argument : arguments) deepest = std::max(deepest, argument.value->depth());
    return deepest + 1;
}
}  // namespace

Value NameReference::evaluate(Interpreter& interpreter) const { return interpreter.resolveName(name_); }

FunctionCall::FunctionCall(std::string name, std::vector<ArgumentExpression> arguments, bool dotCall)
    : Expression(callDepth(arguments)), name_(std::move(name)), arguments_(std::move(arguments)), dotCall_(dotCall) {}

Value FunctionCall::evaluate(Interpreter& interpreter) const {
    std::vector<Argument> values;
    values.reserve(arguments_.size());
    for (const auto& argument : arguments_) values.push_back({argument.name, argument.value->evaluate(interpreter)});
    return interpreter.call(name_, std::move(values), dotCall_);
}

Value UnaryExpression::evaluate(Interpreter& interpreter) const {
    const Value operand = operand_->evaluate(interpreter);
    return op_ == UnaryOperator::Negate ? negate(operand) : logicalNot(operand);
}

BinaryExpression::BinaryExpression(BinaryOperator op, ExpressionPtr left, ExpressionPtr right)
    : Expression(deeper(left, right)), op_(op), left_(std::move(left)), right_(std::move(right)) {}

Value BinaryExpression::evaluate(Interpreter& interpreter) const {
    const Value left = left_->evaluate(interpreter);
    const Value right = right_->evaluate(interpreter);
    return applyBinary(op_, left, right);
}

LogicalExpression::LogicalExpression(LogicalOperator op, ExpressionPtr left, ExpressionPtr right)
    : Expression(deeper(left, right)), op_(op), left_(std::move(left)), right_(std::move(right)) {}

Value LogicalExpression::evaluate(Interpreter& interpreter) const {
    const char* name = op_ == LogicalOperator::And ? "&&" : "||";
    const bool left = requireBool(left_->evaluate(interpreter),
                                  std::string("Evaluate: left operand of ") + name + " must be boolean (true/false)");
    if (left == (op_ == LogicalOperator::Or)) return left;
    return requireBool(right_->evaluate(interpreter),
                       std::string("Evaluate: right operand of ") + name + " must be boolean (true/false)");
}

ConditionalExpression::ConditionalExpression(ExpressionPtr condition, ExpressionPtr ifTrue, ExpressionPtr ifFalse)
    : Expression(std::max(deeper(condition, ifTrue), ifFalse->depth() + 1)),
      condition_(std::move(condition)),
      ifTrue_(std::move(ifTrue)),
      ifFalse_(std::move(ifFalse)) {}

Value ConditionalExpression::evaluate(Interpreter& interpreter) const {
    const bool condition =
        requireBool(condition_->evaluate(interpreter), "Evaluate: left of `?' must be boolean (true/false)");
    return (condition ? ifTrue_ : ifFalse_)->evaluate(interpreter);
}

}  // namespace vistrel::engine
