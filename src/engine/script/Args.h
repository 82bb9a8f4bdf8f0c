#pragma once
// The arguments of one call as the evaluator bound them to the function's
// signature.

#include "engine/script/Value.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vistrel::engine {

// The bound arguments of one call, one slot per parameter of the signature.
// A slot holds no value (not given), one value, or for a repeated parameter
// ("c+", ".*") every value it took.
class Args {
public:
    explicit Args(std::vector<std::vector<Value>> bound) : slots_(std::move(bound)) {}

    size_t size() const { return slots_.size(); }
    bool defined(size_t i) const { return i < slots_.size() && !slots_[i].empty(); }
    const Value& at(size_t i) const;  // throws std::out_of_range when not given

    ClipPtr clip(size_t i) const;
    int32_t intOr(size_t i, int32_t fallback) const;
    double floatOr(size_t i, double fallback) const;  // ints are widened
    bool boolOr(size_t i, bool fallback) const;
    std::string stringOr(size_t i, const std::string& fallback) const;

    const std::vector<Value>& repeated(size_t i) const { return slots_.at(i); }

private:
    std::vector<std::vector<Value>> slots_;
};

}  // namespace vistrel::engine
