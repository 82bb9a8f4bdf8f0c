#include "engine/filters/Factories.h"
#include "engine/ScriptError.h"

namespace vistrel::engine {

Value createVersion(const Args&, Environment&) { throw ScriptError("Version: not available yet"); }

}  // namespace vistrel::engine
