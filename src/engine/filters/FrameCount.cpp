#include "engine/filters/Factories.h"
#include "engine/ScriptError.h"

namespace vistrel::engine {

Value createFrameCount(const Args&, Environment&) { throw ScriptError("FrameCount: not available yet"); }

}  // namespace vistrel::engine
