// FrameCount: the number of frames of a clip, as an int.
#include "engine/filters/FunctionTable.h"

#include <limits>

namespace vistrel::engine {

Value createFrameCount(const Args& args, Environment&) {
    const int64_t count = args.clip(0)->info().frameCount;
    return Value(static_cast<int32_t>(std::min<int64_t>(count, std::numeric_limits<int32_t>::max())));
}

}  // namespace vistrel::engine
