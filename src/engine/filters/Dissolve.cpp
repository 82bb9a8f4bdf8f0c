#include "engine/filters/Factories.h"
#include "engine/ScriptError.h"

namespace vistrel::engine {

Value createDissolve(const Args&, Environment&) { throw ScriptError("Dissolve: not available yet"); }

}  // namespace vistrel::engine
