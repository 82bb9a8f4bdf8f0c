// BlankClip: the request as the script's arguments give it.

#include "engine/clips/BlankClip.h"

#include "engine/core/ScriptError.h"
#include "engine/filters/FunctionTable.h"

#include <optional>
#include <strings.h>
#include <vector>

namespace vistrel::engine {

// Script entry. Slots: 0 template clips, 1 length, 2 width, 3 height,
// 4 pixel_type, 5 fps, 6 fps_denominator, 7 audio_rate, 8 stereo or channels,
// 9 sixteen_bit or sample_type, 10 color, 11 color_yuv, 12 clip.
namespace {

template <typename T>
std::optional<T> optionalInt(const Args& args, size_t i) {
    if (!args.defined(i)) return std::nullopt;
    return static_cast<T>(args.intOr(i, 0));
}

std::optional<VideoInfo> templateFrom(const Args& args) {
    std::vector<ClipPtr> templates;
    if (args.defined(0))
        for (const Value& v : args.repeated(0)) templates.push_back(std::get<ClipPtr>(v));
    if (args.defined(12)) templates.push_back(args.clip(12));
    if (templates.size() > 1) throw ScriptError("BlankClip: Only 1 Template clip allowed.");
    if (templates.empty()) return std::nullopt;
    return templates.front()->info();
}

std::optional<int> channelsFrom(const Args& args) {
    if (!args.defined(8)) return std::nullopt;
    const Value& v = args.at(8);
    if (auto* stereo = std::get_if<bool>(&v)) return *stereo ? 2 : 1;
    return std::get<int32_t>(v);
}

std::optional<SampleType> sampleTypeFrom(const Args& args) {
    if (!args.defined(9)) return std::nullopt;
    const Value& v = args.at(9);
    if (auto* sixteenBit = std::get_if<bool>(&v)) return *sixteenBit ? SampleType::Int16 : SampleType::Float32;
    const std::string& name = std::get<std::string>(v);
    if (strcasecmp(name.c_str(), "16bit") == 0) return SampleType::Int16;
    if (strcasecmp(name.c_str(), "float") == 0) return SampleType::Float32;
    throw ScriptError("BlankClip: sample_type must be \"16bit\" or \"float\"");
}

}  // namespace

Value createBlankClip(const Args& args, Environment&) {
    BlankClipRequest rq;
    rq.templateInfo = templateFrom(args);
    rq.length = optionalInt<int>(args, 1);
    rq.width = optionalInt<int>(args, 2);
    rq.height = optionalInt<int>(args, 3);
    if (args.defined(4)) rq.pixelType = args.stringOr(4, "");
    if (args.defined(5)) rq.fps = args.floatOr(5, 0.0);
    rq.fpsDenominator = optionalInt<int>(args, 6);
    rq.audioRate = optionalInt<int>(args, 7);
    rq.channels = channelsFrom(args);
    rq.sampleType = sampleTypeFrom(args);
    rq.color = optionalInt<int>(args, 10);
    rq.colorYuv = optionalInt<int>(args, 11);
    return makeBlankClip(rq);
}

}  // namespace vistrel::engine
