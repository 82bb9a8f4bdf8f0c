#include "cli/ClipInfo.h"

#include <sstream>

namespace vistrel::cli {

std::string describeClip(const engine::VideoInfo& info, bool conformedVariableRate) {
    std::ostringstream out;
    out << "width: " << info.width << '\n'
        << "height: " << info.height << '\n'
        << "frames: " << info.frameCount << '\n'
        << "fps: " << info.fps.num << '/' << info.fps.den << '\n'
        << "pixel_type: " << (info.hasVideo() ? engine::pixelTypeName(info.pixelType) : "none") << '\n'
        << "audio_rate: " << (info.hasAudio() ? info.audioRate : 0) << '\n'
        << "audio_channels: " << (info.hasAudio() ? info.channels : 0) << '\n'
        << "audio_samples: " << (info.hasAudio() ? info.audioSamples : 0) << '\n';
    if (conformedVariableRate) out << "timing: variable, conformed to " << info.fps.num << '/' << info.fps.den << '\n';
    return out.str();
}

}  // namespace vistrel::cli
