#include "engine/filters/Factories.h"
#include "engine/ScriptError.h"

namespace vistrel::engine {

Value createBilinearResize(const Args&, Environment&) { throw ScriptError("BilinearResize: not available yet"); }

}  // namespace vistrel::engine
