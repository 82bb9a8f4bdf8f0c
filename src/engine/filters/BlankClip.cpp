#include "engine/filters/Factories.h"
#include "engine/ScriptError.h"

namespace vistrel::engine {

Value createBlankClip(const Args&, Environment&) { throw ScriptError("BlankClip: not available yet"); }

}  // namespace vistrel::engine
