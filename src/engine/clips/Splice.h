#pragma once
// Joining two clips end to end, for the script's + (unaligned: the second
// clip's sound follows the first clip's sound directly) and ++ (aligned: the
// first clip's sound is cut or padded with silence to the length of its
// video first). The clips must agree in format; differing sample types both
// become float.

#include "engine/core/Clip.h"

namespace vistrel::engine {

// Throws ScriptError ("Splice: Frame sizes don't match" and so on).
ClipPtr makeSplice(ClipPtr first, ClipPtr second, bool aligned);

}  // namespace vistrel::engine
