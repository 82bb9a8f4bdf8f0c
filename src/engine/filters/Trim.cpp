#include "engine/filters/Factories.h"
#include "engine/ScriptError.h"

namespace vistrel::engine {

Value createTrim(const Args&, Environment&) { throw ScriptError("Trim: not available yet"); }

}  // namespace vistrel::engine
