#include "engine/filters/Factories.h"
#include "engine/ScriptError.h"

namespace vistrel::engine {

Value createKillAudio(const Args&, Environment&) { throw ScriptError("KillAudio: not available yet"); }

}  // namespace vistrel::engine
