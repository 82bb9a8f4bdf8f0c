#pragma once
// Files as phones and cameras write them, made like the other test media
// (TestMedia.h): every frame shows its own index.

#include "support/TestMedia.h"

#include <vector>

namespace vistrel::test::recipes {

// A phone recording of 40 s: 20 s at 30 fps, then 20 s at 24 fps (1080
// frames), H.264 with B-frames and AAC stereo in MP4, each frame at its real time.
MediaRecipe phoneVariableRateMp4();

// Containers and streams whose seeking has to stay frame-exact: AVCHD-like
// H.264 in M2TS, HDV-like MPEG-2 with open GOPs in MPEG-TS, H.264 with open
// GOPs and B-pyramids in MP4, a phone MP4 whose video starts late behind an
// edit list, HEVC in MP4, and a camera's MOV.
std::vector<MediaRecipe> cameraFiles();

// Sound as cameras write it, 2 s each: AAC, AC-3, E-AC-3, PCM of 16, 24 and
// 32 bits, MP3 and Opus, from mono to 5.1.
std::vector<MediaRecipe> cameraSound();

}  // namespace vistrel::test::recipes
