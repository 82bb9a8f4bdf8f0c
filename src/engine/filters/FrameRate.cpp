#include "engine/filters/Factories.h"
#include "engine/ScriptError.h"

namespace vistrel::engine {

Value createFrameRate(const Args&, Environment&) { throw ScriptError("FrameRate: not available yet"); }

}  // namespace vistrel::engine
