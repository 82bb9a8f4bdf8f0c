#pragma once
// A block of text drawn once into two coverage masks: the glyphs, and a halo
// one pixel around them. Filters composite the masks onto frames
// (TextComposite.h), so the font machinery runs once per clip, not per frame.
//
// Drawing needs a QGuiApplication; without one, and for text too large to
// draw, render() throws ScriptError with a message that callers prefix with
// their own name.

#include <cstdint>
#include <string>
#include <vector>

namespace vistrel::engine {

enum class LineAlign { Left, Centre, Right };

struct TextStyle {
    std::string family = "DejaVu Sans";  // DejaVu Sans stands in when missing
    double lineHeight = 18.0;            // cell height of one line, in pixels
    bool bold = true;
    bool italic = false;
    bool antialias = true;
    double letterSpacing = 0.0;  // extra pixels after every character
    double lineGap = 0.0;        // extra pixels between lines
    LineAlign align = LineAlign::Left;
};

class TextMask {
public:
    // Lines are UTF-8; an empty list gives an empty mask.
    static TextMask render(const std::vector<std::string>& lines, const TextStyle& style);

    // The text box: the widest line by the lines' total height.
    int boxWidth() const { return boxWidth_; }
    int boxHeight() const { return boxHeight_; }
    // Distance from the box top to the first line's baseline.
    int firstBaseline() const { return firstBaseline_; }

    // The masks extend `margin()` pixels beyond the box on every side.
    static constexpr int margin() { return 2; }
    int maskWidth() const { return boxWidth_ + 2 * margin(); }
    int maskHeight() const { return boxHeight_ + 2 * margin(); }
    // Coverage 0..255 at mask coordinates.
    uint8_t glyph(int x, int y) const { return glyphs_[size_t(y) * maskWidth() + x]; }
    uint8_t halo(int x, int y) const { return halo_[size_t(y) * maskWidth() + x]; }
    bool empty() const { return boxWidth_ == 0 || boxHeight_ == 0; }

private:
    int boxWidth_ = 0;
    int boxHeight_ = 0;
    int firstBaseline_ = 0;
    std::vector<uint8_t> glyphs_;
    std::vector<uint8_t> halo_;
};

// Splits at line feeds (a CR before one is dropped).
std::vector<std::string> splitLines(const std::string& text);

}  // namespace vistrel::engine
