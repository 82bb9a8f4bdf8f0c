#include "engine/script/Value.h"

namespace vistrel::engine {

std::string typeDescription(const Value& v) {
    struct Describe {
        std::string operator()(const Undefined&) const { return "the undefined value"; }
        std::string operator()(const ClipPtr&) const { return "a clip"; }
        std::string operator()(int32_t n) const { return "an int, " + std::to_string(n); }
        std::string operator()(double) const { return "a float"; }
        std::string operator()(bool b) const { return std::string("a bool, ") + (b ? "true" : "false"); }
        std::string operator()(const std::string& s) const { return "a string, \"" + s + "\""; }
    };
    return std::visit(Describe{}, v);
}

}  // namespace vistrel::engine
