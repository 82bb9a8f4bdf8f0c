#include "engine/script/Binder.h"

#include "engine/core/ScriptError.h"
#include "engine/script/Names.h"

namespace vistrel::engine {

namespace {

using Slots = std::vector<std::vector<Value>>;

bool fits(char type, const Value& value, bool intForFloat) {
    switch (type) {
    case 'c': return isClip(value);
    case 'i': return std::holds_alternative<int32_t>(value);
    case 'f': return std::holds_alternative<double>(value) || (intForFloat && std::holds_alternative<int32_t>(value));
    case 's': return std::holds_alternative<std::string>(value);
    case 'b': return std::holds_alternative<bool>(value);
    default: return true;
    }
}

Value converted(char type, const Value& value) {
    if (type == 'f' && std::holds_alternative<int32_t>(value)) return Value(double(std::get<int32_t>(value)));
    return value;
}

char typeLetter(const Value& value) {
    static constexpr char kLetters[] = {'v', 'c', 'i', 'f', 'b', 's'};  // in the order of Value's alternatives
    return kLetters[value.index()];
}

// Fills one positional value into the parameter at p or a later one; false when it fits none.
bool placePositional(const Signature& signature, const Value& value, bool intForFloat, size_t& p, Slots& slots) {
    for (; p < signature.size(); ++p) {
        const Parameter& parameter = signature[p];
        if (parameter.repeated()) {
            if (fits(parameter.type, value, intForFloat)) {
                slots[p].push_back(converted(parameter.type, value));
                return true;
            }
            if (parameter.repeat == Parameter::Repeat::OneOrMore && slots[p].empty()) return false;
            continue;
        }
        if (!isDefined(value) && parameter.optional()) {
            ++p;  // an undefined value leaves an optional parameter unset
            return true;
        }
        if (!fits(parameter.type, value, intForFloat)) return false;
        slots[p++].push_back(converted(parameter.type, value));
        return true;
    }
    return false;
}

bool restMayBeEmpty(const Signature& signature, size_t p, const Slots& slots) {
    for (; p < signature.size(); ++p) {
        const Parameter& parameter = signature[p];
        if (parameter.repeat == Parameter::Repeat::OneOrMore && slots[p].empty()) return false;
        if (!parameter.optional() && !parameter.repeated()) return false;
    }
    return true;
}

std::optional<size_t> parameterNamed(const Signature& signature, const std::string& name) {
    for (size_t i = 0; i < signature.size(); ++i)
        if (signature[i].optional() && sameName(signature[i].name, name)) return i;
    return std::nullopt;
}

void placeNamed(const Parameter& parameter, const Value& value, std::vector<Value>& slot,
                const std::string& functionName) {
    if (!isDefined(value)) return;
    const std::string quotedName = "\"" + parameter.name + "\"";
    if (!slot.empty())
        throw ScriptError("Script error: the named argument " + quotedName + " was passed more than once to " +
                          functionName);
    if (!fits(parameter.type, value, true))
        throw ScriptError("Script error: the named argument " + quotedName + " to " + functionName +
                          " had the wrong type (passed '" + typeLetter(value) + "')");
    slot.push_back(converted(parameter.type, value));
}

}  // namespace

std::optional<Args> bindArguments(const Signature& signature, const std::vector<Argument>& arguments, bool intForFloat,
                                  const std::string& functionName) {
    Slots slots(signature.size());
    size_t p = 0;
    std::vector<std::pair<size_t, const Value*>> named;
    for (const Argument& argument : arguments) {
        if (!argument.name.empty()) {
            const auto index = parameterNamed(signature, argument.name);
            if (!index) return std::nullopt;
            named.emplace_back(*index, &argument.value);
        } else if (!placePositional(signature, argument.value, intForFloat, p, slots)) {
            return std::nullopt;
        }
    }
    if (!restMayBeEmpty(signature, p, slots)) return std::nullopt;
    for (const auto& [index, value] : named) placeNamed(signature[index], *value, slots[index], functionName);
    return Args(std::move(slots));
}

}  // namespace vistrel::engine
