#include "engine/filters/Factories.h"
#include "engine/ScriptError.h"

namespace vistrel::engine {

Value createAddBorders(const Args&, Environment&) { throw ScriptError("AddBorders: not available yet"); }

}  // namespace vistrel::engine
