#pragma once
// A value of the script language: undefined, a clip, an int (32-bit, as in
// AviSynth), a float (double), a bool or a string.

#include "engine/core/Clip.h"

#include <cstdint>
#include <string>
#include <variant>

namespace vistrel::engine {

struct Undefined {
    bool operator==(const Undefined&) const = default;
};

using Value = std::variant<Undefined, ClipPtr, int32_t, double, bool, std::string>;

inline bool isDefined(const Value& v) { return !std::holds_alternative<Undefined>(v); }
inline bool isClip(const Value& v) { return std::holds_alternative<ClipPtr>(v); }

// How AviSynth names a value's type in its messages: "undefined value", "int", ...
std::string typeDescription(const Value& v);

}  // namespace vistrel::engine
