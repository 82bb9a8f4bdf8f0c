#include "engine/filters/Factories.h"
#include "engine/ScriptError.h"

namespace vistrel::engine {

Value createAudioDub(const Args&, Environment&) { throw ScriptError("AudioDub: not available yet"); }

}  // namespace vistrel::engine
