#pragma once
// A clip of one solid colour and silence. Its single frame is made once and
// handed out for every frame number.

#include "engine/core/Pixels.h"
#include "engine/core/StillClip.h"

#include <optional>
#include <string>

namespace vistrel::engine {

// What a BlankClip call asks for. Whatever is not set comes from the template
// clip, or from the defaults (640x480 RGB32, 24 fps, 240 frames, 44.1 kHz mono
// 16-bit silence) when there is no template.
struct BlankClipRequest {
    std::optional<VideoInfo> templateInfo;
    std::optional<int> length;
    std::optional<int> width;
    std::optional<int> height;
    std::optional<std::string> pixelType;
    std::optional<double> fps;
    std::optional<int> fpsDenominator;
    std::optional<int> audioRate;
    std::optional<int> channels;
    std::optional<SampleType> sampleType;
    std::optional<int> color;
    std::optional<int> colorYuv;
};

// The clip description a request gives; throws ScriptError for a bad request.
VideoInfo blankClipInfo(const BlankClipRequest& request);

// The fill colour a request gives for a clip of the given description.
Colour blankClipColour(const BlankClipRequest& request, const VideoInfo& info);

ClipPtr makeBlankClip(const BlankClipRequest& request);

// A frame rate given as a float without a denominator: numerator and
// denominator are doubled while both stay below 2^24, then the numerator is
// rounded. 29.97 gives 31425823/1048576.
Rational frameRateFromFloat(double fps);

// Case-insensitive "RGB32", "RGB24", "YV12" or "YUY2"; nothing for other names.
std::optional<PixelType> pixelTypeFromName(const std::string& name);

// A frame of the given size and type filled with one colour.
FramePtr solidFrame(int width, int height, PixelType type, const Colour& colour);

class BlankClip final : public StillClip {
public:
    BlankClip(const VideoInfo& info, const Colour& colour);
};

}  // namespace vistrel::engine
