#pragma once
// Subtitle: anti-aliased text with a one-pixel halo over a range of frames.
// The text is drawn once into masks and put onto each frame in the range.

#include "engine/core/Clip.h"
#include "engine/text/TextComposite.h"
#include "engine/text/TextMask.h"

#include <optional>
#include <string>

namespace vistrel::engine {

struct SubtitleSettings {
    std::string text;
    std::optional<double> x;  // -1 centres
    std::optional<double> y;  // -1 centres
    int firstFrame = 0;
    std::optional<int64_t> lastFrame;  // default: the last frame
    std::string font = "Arial";
    double size = 18.0;  // line height in pixels
    TextColours colours{0x00FFFF00, 0x00000000};
    std::optional<int> align;        // keypad 1..9; default 7, or 2 when x is -1
    int characterSpacing = 0;        // eighths of a pixel
    std::optional<int> lineSpacing;  // eighths of a pixel; when set, "\n" also breaks lines
    std::string fontFile;
    bool bold = true;
    bool italic = false;
    bool antialias = true;
};

class Subtitle final : public Clip {
public:
    // Throws ScriptError for a bad alignment or a font file that cannot be read.
    Subtitle(ClipPtr child, const SubtitleSettings& settings);

protected:
    FramePtr makeFrame(int64_t n) override;
    void readAudio(void* dst, int64_t start, int64_t count) override;

private:
    ClipPtr child_;
    TextMask mask_;
    TextColours colours_;
    int boxLeft_ = 0;
    int boxTop_ = 0;
    int64_t firstFrame_;
    int64_t lastFrame_;
};

}  // namespace vistrel::engine
