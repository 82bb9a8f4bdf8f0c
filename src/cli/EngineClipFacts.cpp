#include "cli/EngineClipFacts.h"

#include "engine/source/FfmsSource.h"

#include <exception>

namespace vistrel::cli {

model::ClipFacts clipFacts(const engine::Clip& clip) {
    const engine::VideoInfo& info = clip.info();
    const auto* source = dynamic_cast<const engine::FfmsSource*>(&clip);
    return {{info.fps.num, info.fps.den},
            {info.width, info.height},
            info.frameCount,
            source && source->conformed(),
            info.hasAudio(),
            info.audioRate,
            info.channels};
}

std::optional<model::FrameRate> EngineClipProbe::rateOf(const std::string& path) {
    const auto facts = factsOf(path);
    return facts ? std::optional(facts->rate) : std::nullopt;
}

std::optional<model::FrameSize> EngineClipProbe::sizeOf(const std::string& path) {
    const auto facts = factsOf(path);
    return facts ? std::optional(facts->size) : std::nullopt;
}

std::optional<model::ClipFacts> EngineClipProbe::factsOf(const std::string& path) {
    if (const auto found = known_.find(path); found != known_.end()) return found->second;
    std::optional<model::ClipFacts> facts;
    try {
        const engine::ClipPtr clip = engine::openClip(path, options_);
        if (clip->info().hasVideo()) facts = clipFacts(*clip);
    } catch (const std::exception&) {
        // The cut says which clip could not be read.
    }
    return known_[path] = facts;
}

}  // namespace vistrel::cli
