// Dissolve(clip, clip+, overlap, fps).

#include "engine/clips/Dissolve.h"

#include "engine/filters/FunctionTable.h"

namespace vistrel::engine {

// Script entry. Slots: 0 clip, 1 further clips, 2 overlap, 3 fps.
Value createDissolve(const Args& args, Environment&) {
    std::vector<ClipPtr> others;
    for (const Value& v : args.repeated(1)) others.push_back(std::get<ClipPtr>(v));
    return dissolveAll(args.clip(0), others, args.intOr(2, 0), args.floatOr(3, 24.0));
}

}  // namespace vistrel::engine
