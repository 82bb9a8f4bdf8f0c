#include "engine/filters/Factories.h"
#include "engine/ScriptError.h"

namespace vistrel::engine {

Value createStackHorizontal(const Args&, Environment&) { throw ScriptError("StackHorizontal: not available yet"); }

}  // namespace vistrel::engine
