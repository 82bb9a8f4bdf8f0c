#include "engine/filters/Factories.h"
#include "engine/ScriptError.h"

namespace vistrel::engine {

Value createFadeIn(const Args&, Environment&) { throw ScriptError("FadeIn: not available yet"); }

Value createFadeOut(const Args&, Environment&) { throw ScriptError("FadeOut: not available yet"); }

}  // namespace vistrel::engine
