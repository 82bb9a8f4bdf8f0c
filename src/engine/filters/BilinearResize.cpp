// BilinearResize(clip, target_width, target_height, src_left, src_top,
// src_width, src_height), or what stands in for it in the preview.

#include "engine/clips/BilinearResize.h"

#include "engine/filters/FunctionTable.h"

namespace vistrel::engine {

// Script entry. Slots: 0 clip, 1 target_width, 2 target_height, 3 src_left,
// 4 src_top, 5 src_width, 6 src_height.
Value createBilinearResize(const Args& args, Environment& env) {
    const SourceWindow window{args.floatOr(3, 0.0), args.floatOr(4, 0.0), args.floatOr(5, 0.0), args.floatOr(6, 0.0)};
    if (env.standIns.resize)
        if (ClipPtr standIn = env.standIns.resize(args.clip(0), args.intOr(1, 0), args.intOr(2, 0), window))
            return standIn;
    return ClipPtr(std::make_shared<BilinearResize>(args.clip(0), args.intOr(1, 0), args.intOr(2, 0), window));
}

}  // namespace vistrel::engine
