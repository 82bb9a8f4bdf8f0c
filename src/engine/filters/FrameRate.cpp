// FrameRate: a clip's frame rate as a float (0 for a clip without video).
#include "engine/filters/FunctionTable.h"

namespace vistrel::engine {

Value createFrameRate(const Args& args, Environment&) { return Value(args.clip(0)->info().fps.toDouble()); }

}  // namespace vistrel::engine
