#pragma once
// The parsed script: small expression nodes that evaluate themselves against
// an Interpreter, and the statements that hold them.

#include "engine/script/Value.h"

#include <memory>
#include <string>
#include <vector>

namespace vistrel::engine {

class Interpreter;

class Expression {
public:
    virtual ~Expression() = default;
    virtual Value evaluate(Interpreter& interpreter) const = 0;
    // The variable's name when the expression may stand left of "=".
    virtual const std::string* assignableName() const { return nullptr; }
    // Nodes from here down to the deepest leaf; the parser bounds it.
    int depth() const { return depth_; }

protected:
    explicit Expression(int depth) : depth_(depth) {}

private:
    int depth_;
};

using ExpressionPtr = std::shared_ptr<const Expression>;

class Literal : public Expression {
public:
    explicit Literal(Value value) : Expression(1), value_(std::move(value)) {}
    Value evaluate(Interpreter&) const override { return value_; }

private:
    Value value_;
};

// A name on its own: a variable, or a function called without arguments.
class NameReference : public Expression {
public:
    explicit NameReference(std::string name) : Expression(1), name_(std::move(name)) {}
    Value evaluate(Interpreter& interpreter) const override;
    const std::string* assignableName() const override { return &name_; }

private:
    std::string name_;
};

struct ArgumentExpression {
    std::string name;  // empty for a positional argument
    ExpressionPtr value;
};

// f(args), or a.f(args) where a is the first argument and `last` is never added.
class FunctionCall : public Expression {
public:
    FunctionCall(std::string name, std::vector<ArgumentExpression> arguments, bool dotCall);
    Value evaluate(Interpreter& interpreter) const override;

private:
    std::string name_;
    std::vector<ArgumentExpression> arguments_;
    bool dotCall_;
};

enum class UnaryOperator { Negate, Not };

class UnaryExpression : public Expression {
public:
    UnaryExpression(UnaryOperator op, ExpressionPtr operand)
        : Expression(operand->depth() + 1), op_(op), operand_(std::move(operand)) {}
    Value evaluate(Interpreter& interpreter) const override;

private:
    UnaryOperator op_;
    ExpressionPtr operand_;
};

enum class BinaryOperator {
    Add,
    Splice,
    Subtract,
    Multiply,
    Divide,
    Modulo,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessOrEqual,
    GreaterOrEqual,
};

class BinaryExpression : public Expression {
public:
    BinaryExpression(BinaryOperator op, ExpressionPtr left, ExpressionPtr right);
    Value evaluate(Interpreter& interpreter) const override;

private:
    BinaryOperator op_;
    ExpressionPtr left_;
    ExpressionPtr right_;
};

enum class LogicalOperator { And, Or };

// && and ||, which evaluate their right side only when it decides the result.
class LogicalExpression : public Expression {
public:
    LogicalExpression(LogicalOperator op, ExpressionPtr left, ExpressionPtr right);
    Value evaluate(Interpreter& interpreter) const override;

private:
    LogicalOperator op_;
    ExpressionPtr left_;
    ExpressionPtr right_;
};

class ConditionalExpression : public Expression {
public:
    ConditionalExpression(ExpressionPtr condition, ExpressionPtr ifTrue, ExpressionPtr ifFalse);
    Value evaluate(Interpreter& interpreter) const override;

private:
    ExpressionPtr condition_;
    ExpressionPtr ifTrue_;
    ExpressionPtr ifFalse_;
};

struct Statement {
    enum class Kind { Expression, Assignment, GlobalAssignment, Return };
    Kind kind = Kind::Expression;
    std::string name;  // the variable of an assignment
    ExpressionPtr value;
    int line = 0;  // the line the statement ends on, for runtime errors
};

// The statements that run: everything up to and including the first `return`.
struct Program {
    std::vector<Statement> statements;
};

}  // namespace vistrel::engine
