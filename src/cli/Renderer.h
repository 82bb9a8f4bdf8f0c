#pragma once
// Pulls frames first..last (inclusive) of a clip, with the sound that lies
// under them, into a sink.

#include "cli/FrameSink.h"
#include "cli/ProgressBar.h"
#include "engine/Clip.h"

#include <cstdint>

namespace vistrel::cli {

struct RenderStats {
    int64_t frames = 0;
    int64_t samples = 0;
    double seconds = 0;
};

RenderStats render(engine::Clip& clip, int64_t first, int64_t last, FrameSink& sink, ProgressBar& progress);

}  // namespace vistrel::cli
