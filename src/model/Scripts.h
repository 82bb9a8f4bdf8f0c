#pragma once
// The scripts the editor writes, line by line with CR LF endings: the intro
// card, the four-angle preview and the edit, with the segment arithmetic the
// edit's trims use.

#include "model/Edit.h"
#include "model/Ports.h"
#include "model/ScriptLocations.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vistrel::model {

// The text of a script built line by line in memory; every line, the last
// one included, ends with CR LF.
class ScriptText {
public:
    ScriptText& line(std::string_view text);
    ScriptText& emptyLine() { return line({}); }

    const std::string& text() const { return text_; }
    int lineCount() const { return lineCount_; }

private:
    std::string text_;
    int lineCount_ = 0;
};

// A value rounded to the nearest integer, halves to the even neighbour
// (280.5 -> 280, 281.5 -> 282), held at the int64 limits when beyond them.
std::int64_t roundHalfToEven(double value);

// First frame of the segment that follows a switch point at nextFrame: the
// crossfade of `overlap` frames ends with the switch point's own frame.
std::int64_t segmentStart(double nextFrame, double overlap);

// The title card: the version clip with borders, in RGB32, captioned.
std::string introScriptText();

// Writes the intro script and points the player at it (without playing).
// The player is given the intro path even when the write failed, so that it
// shows why it cannot open it; the reason is returned, nothing is shown.
std::optional<std::string> ShowIntro(PlayerControl& player, const ScriptLocations& locations);

// Every angle side by side, each shrunk to 176 × 120 and started at its
// start frame, blank columns after them up to four: clips + 5 lines.
std::string previewScriptText(const Edit& edit);

// "preview": stops the player and points it at the intro, then, with at
// least 2 clips, writes the preview script and has the player open and play
// it. With fewer clips, or when the script cannot be written, a message
// says why and the player stays on the intro.
void ShowPreview(const Edit& edit, PlayerControl& player, MessageSink& messages, const ScriptLocations& locations);

// The AviSynth edit script of an edit: the overlap, the first clip's sound
// from its start frame on, one section per angle with one trimmed segment
// per switch point, the dissolve of the segments the switch points choose,
// the sound laid under it and the fade lines. 7 + clips × (switch points + 3)
// lines.
std::string editScriptText(const Edit& edit);

// How a script reads a clip: its picture alone (an angle line) and its
// picture with its sound (the audio line of angle A's sound).
struct ClipReading {
    std::function<std::string(const std::string& clip)> picture;
    std::function<std::string(const std::string& clip)> pictureAndSound;
};

// The edit script's lines with each clip read as `reading` says; with
// avisource, killing the sound for a picture alone, it is the edit script.
std::string editScriptText(const Edit& edit, const ClipReading& reading);

// The clip of one angle as its angle line loads it: the clip at that row of
// the clip list, without sound, from its start frame on.
std::string angleSourceText(const Edit& edit, int row);

// "build script": with fewer than 2 switch points only a message; otherwise
// asks the save dialog for a path, writes the script there and reports.
// The path it was saved to; nothing when it was not saved.
std::optional<std::string> buildEditScript(const Edit& edit, FileDialog& saveDialog, MessageSink& messages);

}  // namespace vistrel::model
