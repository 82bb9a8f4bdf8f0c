#pragma once
// Files as phones and cameras write them; every frame shows its own index (TestMedia.h).
#include "support/TestMedia.h"

#include <vector>

namespace vistrel::test::recipes {

// 40 s from a phone, H.264 and AAC in MP4: 20 s at 30 fps, then 20 s at 24 fps.
MediaRecipe phoneVariableRateMp4();
// Open-GOP MPEG-2 in TS and PS, open-GOP H.264 in MP4 and M2TS, an MP4 whose
// video starts late behind an edit list, HEVC in MP4.
std::vector<MediaRecipe> cameraFiles();
// 2 s of AAC, AC-3, E-AC-3, PCM of 16, 24 and 32 bits, MP3 and Opus, mono to 5.1.
std::vector<MediaRecipe> cameraSound();

}  // namespace vistrel::test::recipes
