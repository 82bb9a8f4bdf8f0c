#include "engine/filters/Factories.h"
#include "engine/ScriptError.h"

namespace vistrel::engine {

Value createAviSource(const Args&, Environment&) { throw ScriptError("AviSource: not available yet"); }

}  // namespace vistrel::engine
