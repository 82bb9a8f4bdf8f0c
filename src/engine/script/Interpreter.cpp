#include "engine/script/Interpreter.h"

#include "engine/core/FrameCache.h"
#include "engine/core/ScriptError.h"
#include "engine/script/Names.h"
#include "engine/script/Parser.h"
#include "engine/script/Tokenizer.h"

#include <new>

namespace vistrel::engine {

Interpreter::Interpreter(Environment& env, std::string pathForMessages, const FunctionRegistry& functions)
    : env_(env), path_(std::move(pathForMessages)), functions_(functions) {}

void Interpreter::setVariable(const std::string& name, Value value) { locals_[lowerCase(name)] = std::move(value); }

Value Interpreter::runText(std::string_view text) {
    Program program;
    try {
        program = parseScript(text);
    } catch (const SyntaxError& error) {
        throw ScriptError(std::string(error.what()) + "\n(" + path_ + ", line " + std::to_string(error.line()) +
                          ", column " + std::to_string(error.column()) + ")");
    }
    return run(program);
}

Value Interpreter::run(const Program& program) {
    Value result;
    const auto& statements = program.statements;
    for (size_t i = 0; i < statements.size(); ++i) {
        result = runStatement(statements[i]);
        if (statements[i].kind == Statement::Kind::Return) return result;
        const bool final = i + 1 == statements.size();
        if (!final && isClip(result)) locals_["last"] = result;
    }
    return result;
}

Value Interpreter::runStatement(const Statement& statement) {
    const auto withLine = [&](const char* message) {
        return ScriptError(std::string(message) + "\n(" + path_ + ", line " + std::to_string(statement.line) + ")");
    };
    try {
        Value value = statement.value->evaluate(*this);
        switch (statement.kind) {
        case Statement::Kind::Assignment: locals_[lowerCase(statement.name)] = std::move(value); return Undefined{};
        case Statement::Kind::GlobalAssignment:
            globals_[lowerCase(statement.name)] = std::move(value);
            return Undefined{};
        default: return value;
        }
    } catch (const ScriptError& error) {
        throw withLine(error.what());
    } catch (const std::bad_alloc&) {
        throw withLine("Out of memory.");
    } catch (const std::exception& error) {
        throw withLine(error.what());
    }
}

std::optional<Value> Interpreter::variable(const std::string& name) const {
    const std::string key = lowerCase(name);
    if (auto found = locals_.find(key); found != locals_.end()) return found->second;
    if (auto found = globals_.find(key); found != globals_.end()) return found->second;
    return std::nullopt;
}

std::optional<ClipPtr> Interpreter::lastClip() const {
    const auto last = variable("last");
    if (!last || !isClip(*last)) return std::nullopt;
    return std::get<ClipPtr>(*last);
}

Value Interpreter::resolveName(const std::string& name) {
    if (auto value = variable(name)) return *value;
    const auto& overloads = functions_.overloadsOf(name);
    if (!overloads.empty()) {
        if (auto result = tryOverloads(overloads, {})) return *result;
        if (auto result = tryOverloadsWithLast(overloads, {})) return *result;
    }
    throw ScriptError("I don't know what '" + name + "' means.");
}

Value Interpreter::call(const std::string& name, std::vector<Argument> arguments, bool dotCall) {
    const auto& overloads = functions_.overloadsOf(name);
    if (overloads.empty()) throw ScriptError("Script error: There is no function named '" + name + "'.");
    if (auto result = tryOverloads(overloads, arguments)) return *result;
    if (!dotCall) {
        if (auto result = tryOverloadsWithLast(overloads, arguments)) return *result;
    }
    throw ScriptError("Script error: Invalid arguments to function '" + name + "'.");
}

// Every overload without converting ints to floats first, then every one with.
std::optional<Value> Interpreter::tryOverloads(const std::vector<Overload>& overloads,
                                               const std::vector<Argument>& arguments) {
    for (const bool intForFloat : {false, true}) {
        for (const Overload& overload : overloads) {
            if (auto args = bindArguments(overload.signature, arguments, intForFloat, overload.function.name))
                return invoke(overload, *args);
        }
    }
    return std::nullopt;
}

std::optional<Value> Interpreter::tryOverloadsWithLast(const std::vector<Overload>& overloads,
                                                       const std::vector<Argument>& arguments) {
    const auto last = lastClip();
    if (!last) return std::nullopt;
    std::vector<Argument> withLast;
    withLast.reserve(arguments.size() + 1);
    withLast.push_back({{}, Value(*last)});
    withLast.insert(withLast.end(), arguments.begin(), arguments.end());
    return tryOverloads(overloads, withLast);
}

Value Interpreter::invoke(const Overload& overload, const Args& args) {
    Value result = overload.function.body(args, env_);
    if (isClip(result)) {
        const ClipPtr& clip = std::get<ClipPtr>(result);
        if (!clip) throw ScriptError(overload.function.name + ": no clip was made");
        if (env_.cache)
            clip->attachCache(env_.cache);
        else if (env_.uncachedClips)
            env_.uncachedClips->push_back(clip);
    }
    return result;
}

}  // namespace vistrel::engine
