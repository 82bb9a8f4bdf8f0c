#include "engine/script/Args.h"

#include "engine/core/ScriptError.h"

#include <stdexcept>

namespace vistrel::engine {

const Value& Args::at(size_t i) const {
    if (!defined(i)) throw std::out_of_range("argument not given");
    return slots_[i].front();
}

ClipPtr Args::clip(size_t i) const { return defined(i) ? std::get<ClipPtr>(at(i)) : nullptr; }

int32_t Args::intOr(size_t i, int32_t fallback) const { return defined(i) ? std::get<int32_t>(at(i)) : fallback; }

double Args::floatOr(size_t i, double fallback) const {
    if (!defined(i)) return fallback;
    const Value& v = at(i);
    if (auto* n = std::get_if<int32_t>(&v)) return *n;
    return std::get<double>(v);
}

bool Args::boolOr(size_t i, bool fallback) const { return defined(i) ? std::get<bool>(at(i)) : fallback; }

std::string Args::stringOr(size_t i, const std::string& fallback) const {
    return defined(i) ? std::get<std::string>(at(i)) : fallback;
}

}  // namespace vistrel::engine
