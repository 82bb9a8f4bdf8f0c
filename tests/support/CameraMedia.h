#pragma once
// Files as phones and cameras write them, made like the other test media
// (TestMedia.h): every frame shows its own index.

#include "support/TestMedia.h"


namespace vistrel::test::recipes {

// A phone recording of 40 s: 20 s at 30 fps, then 20 s at 24 fps (1080
// frames), H.264 with B-frames and AAC stereo in MP4, each frame at its real time.
MediaRecipe phoneVariableRateMp4();

}  // namespace vistrel::test::recipes
