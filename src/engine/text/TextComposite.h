#pragma once
// Putting a rendered TextMask onto a frame: the halo over the picture, then
// the glyphs over the halo. Colours are $AARRGGBB where AA is transparency
// (00 opaque, FF invisible). YUV frames get the Rec.601 colours, with chroma
// covered by the average of the pixels it serves; RGB32 alpha is untouched.

#include "engine/core/Frame.h"
#include "engine/text/TextMask.h"

#include <cstdint>

namespace vistrel::engine {

struct TextColours {
    uint32_t text = 0x00FFFF00;
    uint32_t halo = 0x00000000;
};

// Draws the mask with its text box's top-left corner at (boxLeft, boxTop);
// whatever falls outside the frame is left out.
void drawTextMask(Frame& frame, const TextMask& mask, int boxLeft, int boxTop, const TextColours& colours);

}  // namespace vistrel::engine
