#include "engine/script/FunctionRegistry.h"

#include "engine/script/Names.h"

#include <stdexcept>

namespace vistrel::engine {

namespace {
bool isTypeLetter(char c) { return std::string_view("cifsb.").find(c) != std::string_view::npos; }
}  // namespace

Signature parseSignature(std::string_view text) {
    Signature signature;
    size_t at = 0;
    auto malformed = [&] { return std::invalid_argument("malformed signature \"" + std::string(text) + "\""); };
    while (at < text.size()) {
        Parameter parameter;
        if (text[at] == '[') {
            const size_t close = text.find(']', at);
            if (close == std::string_view::npos || close == at + 1) throw malformed();
            parameter.name = std::string(text.substr(at + 1, close - at - 1));
            at = close + 1;
        }
        if (at >= text.size() || !isTypeLetter(text[at])) throw malformed();
        parameter.type = text[at++];
        if (at < text.size() && (text[at] == '*' || text[at] == '+')) {
            parameter.repeat = text[at] == '*' ? Parameter::Repeat::ZeroOrMore : Parameter::Repeat::OneOrMore;
            ++at;
        }
        signature.push_back(std::move(parameter));
    }
    return signature;
}

FunctionRegistry::FunctionRegistry(const std::vector<FunctionDef>& table) {
    for (const FunctionDef& function : table)
        byName_[lowerCase(function.name)].push_back({function, parseSignature(function.signature)});
}

const std::vector<Overload>& FunctionRegistry::overloadsOf(std::string_view name) const {
    static const std::vector<Overload> none;
    const auto found = byName_.find(lowerCase(name));
    return found == byName_.end() ? none : found->second;
}

}  // namespace vistrel::engine
