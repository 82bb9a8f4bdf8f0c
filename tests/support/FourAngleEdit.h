#pragma once
// A four-angle edit as a user makes one, on generated clips whose frames show
// their own index: angle A with sound, B in MJPEG, C filmed at 30 fps and
// conformed to the edit's 25 by the one-line ChangeFPS script, D in
// MPEG-TS; five segments joined by crossfades, a fade in and a fade out;
// its sound angle A's, or B's file as a sound recording starting at 1480 ms.

#include "model/Edit.h"

#include <filesystem>
#include <optional>
#include <string>

namespace vistrel::test {

struct FourAngleEdit {
    model::EditContent content;
    std::filesystem::path script;  // the edit script, saved
    std::string cameraFiles[4];    // angle A to D's files (C's the 30 fps original)
};

// The edit, its clips and C's conform script under folder; nothing (with
// the reason) when the clips cannot be made here.
std::optional<FourAngleEdit> fourAngleEdit(const std::filesystem::path& folder, std::string& skipReason,
                                           bool soundRecording = false);

}  // namespace vistrel::test
