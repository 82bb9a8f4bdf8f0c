#include "engine/filters/Factories.h"
#include "engine/ScriptError.h"

namespace vistrel::engine {

Value createSubtitle(const Args&, Environment&) { throw ScriptError("Subtitle: not available yet"); }

}  // namespace vistrel::engine
