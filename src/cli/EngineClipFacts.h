#pragma once
// What the cut of an edit needs to know of its clips (model::ClipFacts),
// read through the script engine: a media file through its source, a
// conform script by running it.

#include "engine/Open.h"
#include "engine/core/Clip.h"
#include "model/ClipRate.h"

#include <map>
#include <string>

namespace vistrel::cli {

// The facts of an open clip.
model::ClipFacts clipFacts(const engine::Clip& clip);

// A probe that opens each clip once, indexing it on the way when it must.
class EngineClipProbe final : public model::ClipRateProbe {
public:
    explicit EngineClipProbe(engine::OpenOptions options) : options_(std::move(options)) {}

    std::optional<model::FrameRate> rateOf(const std::string& path) override;
    std::optional<model::FrameSize> sizeOf(const std::string& path) override;
    std::optional<model::ClipFacts> factsOf(const std::string& path) override;

private:
    engine::OpenOptions options_;
    std::map<std::string, std::optional<model::ClipFacts>> known_;
};

}  // namespace vistrel::cli
