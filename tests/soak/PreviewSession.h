#pragma once

namespace vistrel::soak {

// The preview of four generated angles played in an offscreen player for a
// number of seconds, with a seek to a random frame every second. After each
// seek, and half a second into playing on from it, the picture of every
// angle must show the frame that "status position" names. Prints the
// resident memory at the start, its peak and at the end. Returns false when
// a wrong frame was shown or the preview did not open.
bool runPreviewSession(int seconds);

}  // namespace vistrel::soak
