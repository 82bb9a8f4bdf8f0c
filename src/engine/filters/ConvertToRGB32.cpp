#include "engine/filters/Factories.h"
#include "engine/ScriptError.h"

namespace vistrel::engine {

Value createConvertToRGB32(const Args&, Environment&) { throw ScriptError("ConvertToRGB32: not available yet"); }

}  // namespace vistrel::engine
