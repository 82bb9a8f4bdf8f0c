#pragma once
// The one error type of the engine: a message for the user, in AviSynth's
// wording. Filters throw it with their own text ("Trim: Length must be >= 0");
// the evaluator adds the script's path and line in one place.

#include <stdexcept>
#include <string>

namespace vistrel::engine {

class ScriptError : public std::runtime_error {
public:
    explicit ScriptError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace vistrel::engine
