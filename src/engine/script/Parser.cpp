#include "engine/script/Parser.h"

#include "engine/script/Names.h"
#include "engine/script/Tokenizer.h"

#include <algorithm>
#include <deque>

namespace vistrel::engine {

namespace {

// Deep enough for any script a person writes, shallow enough that reading and
// evaluating the tree cannot exhaust the stack of a worker thread.
constexpr int kMaximumDepth = 1000;
constexpr int kMaximumNesting = 200;

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text), tokenizer_(text) {}

    Program parseProgram();

private:
    const Token& current();
    const Token& lookahead();
    void advance();
    bool atOperator(std::string_view op) { return current().isOperator(op); }
    bool atName(std::string_view name) { return current().kind == TokenKind::Name && sameName(current().text, name); }
    void expect(std::string_view op, const std::string& message);
    [[noreturn]] void fail(const std::string& message);
    ExpressionPtr bounded(ExpressionPtr expression);

    // Counts how deep the reader has recursed, for as long as it lives.
    class NestingGuard {
    public:
        explicit NestingGuard(Parser& parser) : parser_(parser) {
            if (++parser_.nesting_ > kMaximumNesting) parser_.fail("Script error: expression nested too deeply");
        }
        ~NestingGuard() { --parser_.nesting_; }
        NestingGuard(const NestingGuard&) = delete;
        NestingGuard& operator=(const NestingGuard&) = delete;

    private:
        Parser& parser_;
    };

    Statement parseStatement();
    ExpressionPtr parseConditional();
    ExpressionPtr parseOr();
    ExpressionPtr parseAnd();
    ExpressionPtr parseComparison();
    ExpressionPtr parseSum();
    ExpressionPtr parseProduct();
    ExpressionPtr parseUnary();
    ExpressionPtr parsePostfix();
    ExpressionPtr parsePrimary();
    ExpressionPtr parseCall(std::string name, ExpressionPtr receiver);
    std::vector<ArgumentExpression> parseArguments();
    ExpressionPtr parseLiteral();

    std::string_view text_;
    Tokenizer tokenizer_;
    std::deque<Token> tokens_;  // the current token, and one more when looked ahead
    int nesting_ = 0;
};

const Token& Parser::current() {
    if (tokens_.empty()) tokens_.push_back(tokenizer_.next());
    return tokens_.front();
}

const Token& Parser::lookahead() {
    current();
    if (tokens_.size() < 2) tokens_.push_back(tokenizer_.next());
    return tokens_[1];
}

void Parser::advance() {
    current();
    tokens_.pop_front();
}

void Parser::fail(const std::string& message) {
    const Token& token = current();
    throw SyntaxError(message, token.line, columnAt(text_, token.end));
}

void Parser::expect(std::string_view op, const std::string& message) {
    if (!atOperator(op)) fail(message);
    advance();
}

ExpressionPtr Parser::bounded(ExpressionPtr expression) {
    if (expression->depth() > kMaximumDepth) fail("Script error: expression nested too deeply");
    return expression;
}

Program Parser::parseProgram() {
    Program program;
    bool returned = false;
    for (;;) {
        if (current().kind == TokenKind::Newline) {
            advance();
            continue;
        }
        if (current().kind == TokenKind::End) break;
        Statement statement = parseStatement();
        statement.line = current().line;
        // Statements after a return are read, so their syntax is checked, but never run.
        if (!returned) program.statements.push_back(std::move(statement));
        returned = returned || program.statements.back().kind == Statement::Kind::Return;
    }
    return program;
}

Statement Parser::parseStatement() {
    Statement statement;
    if (atName("global")) {
        advance();
        if (current().kind != TokenKind::Name) fail("Script error: `global' must be followed by a variable name");
        statement.kind = Statement::Kind::GlobalAssignment;
        statement.name = current().text;
        advance();
        expect("=", "Script error: expected `='");
        statement.value = parseConditional();
        return statement;
    }
    if (atName("return")) {
        advance();
        statement.kind = Statement::Kind::Return;
        statement.value = parseConditional();
        return statement;
    }
    statement.value = parseConditional();
    if (atOperator("=")) {
        const std::string* name = statement.value->assignableName();
        if (!name) fail("Script error: left operand of `=' must be a variable name");
        statement.kind = Statement::Kind::Assignment;
        statement.name = *name;
        advance();
        statement.value = parseConditional();
    }
    return statement;
}

ExpressionPtr Parser::parseConditional() {
    NestingGuard guard(*this);
    ExpressionPtr condition = parseOr();
    if (atOperator("?")) {
        advance();
        ExpressionPtr ifTrue = parseConditional();
        expect(":", "Script error: expected `:'");
        ExpressionPtr ifFalse = parseConditional();
        condition = bounded(std::make_shared<ConditionalExpression>(condition, ifTrue, ifFalse));
    }
    return condition;
}

ExpressionPtr Parser::parseOr() {
    ExpressionPtr left = parseAnd();
    while (atOperator("||")) {
        advance();
        left = bounded(std::make_shared<LogicalExpression>(LogicalOperator::Or, left, parseAnd()));
    }
    return left;
}

ExpressionPtr Parser::parseAnd() {
    ExpressionPtr left = parseComparison();
    while (atOperator("&&")) {
        advance();
        left = bounded(std::make_shared<LogicalExpression>(LogicalOperator::And, left, parseComparison()));
    }
    return left;
}

ExpressionPtr Parser::parseComparison() {
    static const std::pair<std::string_view, BinaryOperator> kComparisons[] = {
        {"==", BinaryOperator::Equal},          {"!=", BinaryOperator::NotEqual},
        {"<>", BinaryOperator::NotEqual},       {"<", BinaryOperator::Less},
        {">", BinaryOperator::Greater},         {"<=", BinaryOperator::LessOrEqual},
        {">=", BinaryOperator::GreaterOrEqual},
    };
    ExpressionPtr left = parseSum();
    ExpressionPtr chain;  // a < b < c means a < b && b < c
    for (;;) {
        const auto* found = std::find_if(std::begin(kComparisons), std::end(kComparisons),
                                         [&](const auto& entry) { return atOperator(entry.first); });
        if (found == std::end(kComparisons)) break;
        advance();
        ExpressionPtr right = parseSum();
        ExpressionPtr test = std::make_shared<BinaryExpression>(found->second, left, right);
        chain = bounded(chain ? std::make_shared<LogicalExpression>(LogicalOperator::And, chain, test) : test);
        left = right;
    }
    return chain ? chain : left;
}

ExpressionPtr Parser::parseSum() {
    ExpressionPtr left = parseProduct();
    for (;;) {
        BinaryOperator op;
        if (atOperator("+"))
            op = BinaryOperator::Add;
        else if (atOperator("-"))
            op = BinaryOperator::Subtract;
        else if (atOperator("++"))
            op = BinaryOperator::Splice;
        else
            break;
        advance();
        left = bounded(std::make_shared<BinaryExpression>(op, left, parseProduct()));
    }
    return left;
}

ExpressionPtr Parser::parseProduct() {
    ExpressionPtr left = parseUnary();
    for (;;) {
        BinaryOperator op;
        if (atOperator("*"))
            op = BinaryOperator::Multiply;
        else if (atOperator("/"))
            op = BinaryOperator::Divide;
        else if (atOperator("%"))
            op = BinaryOperator::Modulo;
        else
            break;
        advance();
        left = bounded(std::make_shared<BinaryExpression>(op, left, parseUnary()));
    }
    return left;
}

ExpressionPtr Parser::parseUnary() {
    while (atOperator("+")) advance();
    UnaryOperator op;
    if (atOperator("-"))
        op = UnaryOperator::Negate;
    else if (atOperator("!"))
        op = UnaryOperator::Not;
    else
        return parsePostfix();
    advance();
    NestingGuard guard(*this);
    ExpressionPtr operand = parseUnary();
    return bounded(std::make_shared<UnaryExpression>(op, operand));
}

ExpressionPtr Parser::parsePostfix() {
    ExpressionPtr left = parsePrimary();
    while (atOperator(".")) {
        advance();
        if (current().kind != TokenKind::Name) fail("Script error: expected function name following `.'");
        std::string name = current().text;
        advance();
        left = parseCall(std::move(name), left);
    }
    return left;
}

ExpressionPtr Parser::parsePrimary() {
    if (current().kind != TokenKind::Name) return parseLiteral();
    std::string name = current().text;
    advance();
    if (!atOperator("(")) return std::make_shared<NameReference>(std::move(name));
    return parseCall(std::move(name), nullptr);
}

ExpressionPtr Parser::parseCall(std::string name, ExpressionPtr receiver) {
    std::vector<ArgumentExpression> arguments;
    if (receiver) arguments.push_back({{}, receiver});
    if (atOperator("(")) {
        for (auto& argument : parseArguments()) arguments.push_back(std::move(argument));
    }
    return bounded(std::make_shared<FunctionCall>(std::move(name), std::move(arguments), receiver != nullptr));
}

std::vector<ArgumentExpression> Parser::parseArguments() {
    advance();  // "("
    std::vector<ArgumentExpression> arguments;
    while (!atOperator(")")) {
        if (!arguments.empty()) expect(",", "Script error: expected a , or )");
        ArgumentExpression argument;
        if (current().kind == TokenKind::Name && lookahead().isOperator("=")) {
            argument.name = current().text;
            advance();
            advance();
        }
        argument.value = parseConditional();
        arguments.push_back(std::move(argument));
    }
    advance();  // ")"
    return arguments;
}

ExpressionPtr Parser::parseLiteral() {
    const Token& token = current();
    Value value;
    switch (token.kind) {
    case TokenKind::Int: value = token.intValue; break;
    case TokenKind::Float: value = token.floatValue; break;
    case TokenKind::String: value = token.text; break;
    case TokenKind::Bool: value = token.boolValue; break;
    default:
        if (!token.isOperator("(")) fail("Script error: syntax error");
        advance();
        ExpressionPtr inner = parseConditional();
        expect(")", "Script error: expected `)'");
        return bounded(inner);
    }
    advance();
    return std::make_shared<Literal>(std::move(value));
}

}  // namespace

Program parseScript(std::string_view text) { return Parser(text).parseProgram(); }

}  // namespace vistrel::engine
