#pragma once
// The card shown instead of a script or file that failed to open: the message
// in red on black, so the player can show what went wrong and where.

#include "engine/core/Clip.h"

#include <string>

namespace vistrel::engine {

// RGB32, 24 fps, 240 frames, no sound. The message's lines are centred, in
// bold sans about 24 pixels high, starting 4 pixels below the top; the card
// is the text box plus 8 pixels, its width rounded up to a multiple of 8 and
// its height to a multiple of 2. The background is opaque black.
ClipPtr makeErrorCard(const std::string& message);

}  // namespace vistrel::engine
