#include "engine/script/FunctionRegistry.h"

#include "engine/script/Names.h"

namespace vistrel::engine {

FunctionRegistry::FunctionRegistry(const std::vector<FunctionDef>& table) {
    for (const FunctionDef& function : table)
        byName_[lowerCase(function.name)].push_back({function, parseSignature(function.signature)});
}

const FunctionRegistry& FunctionRegistry::standard() {
    static const FunctionRegistry registry(functionTable());
    return registry;
}

const std::vector<Overload>& FunctionRegistry::overloadsOf(std::string_view name) const {
    static const std::vector<Overload> none;
    const auto found = byName_.find(lowerCase(name));
    return found == byName_.end() ? none : found->second;
}

}  // namespace vistrel::engine
