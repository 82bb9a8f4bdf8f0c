#include "model/Scripts.h"

#include "model/NumericText.h"
#include "model/SoundRecording.h"
#include "model/SwitchPoint.h"

namespace vistrel::model {

std::string introScriptText() {
    return ScriptText()
        .line("version().addborders(122,20,122,20).converttorgb32()")
        .line("subtitle(\"Vistrel is powered by:\", text_color=$ffffff)")
        .text();
}

namespace {

std::string angleName(int row) { return "angle" + decimalText(row); }

std::string angleLine(const Edit& edit, int row) {
    return angleName(row) + "=avisource(\"" + edit.clips().entry(row) +
           "\").bilinearresize(176,120).converttorgb32().trim(" + edit.startFrames().entry(row) + ",0)";
}

// "angle0,angle1,bc,bc": the angles, then blank columns up to four.
std::string columns(int clipCount) {
    std::string list;
    for (int row = 0; row < clipCount; ++row) list += angleName(row) + ",";
    for (int blank = clipCount; blank < kMaxAngles; ++blank) list += "bc,";
    list.pop_back();
    return list;
}

}  // namespace

std::string previewScriptText(const Edit& edit) {
    const int clipCount = edit.clips().count();
    ScriptText script;
    script.line("overlap=" + edit.overlap().text());
    for (int row = 0; row < clipCount; ++row) script.line(angleLine(edit, row));
    script.line("bc=blankclip(angle0.framecount(),176,120,\"rgb32\",angle0.framerate())");
    script.line("stackhorizontal(" + columns(clipCount) + ")");
    script.line(edit.fadeInLine());
    script.line(edit.fadeOutLine());
    return script.text();
}

namespace {

constexpr const char* kAngleHeaderBefore = "#-=-=-=-=-=-=-=-=-=angle ";
constexpr const char* kAngleHeaderAfter = "=-=-=-=-=-=-=-=-=-=-=-";
constexpr const char* kClosingSeparator = "#-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=";

std::string quoted(const std::string& text) { return '"' + text + '"'; }

std::string segmentName(char angle, int switchPoint) { return angle + decimalText(switchPoint); }

// The segment lines of one angle, one per switch point: each runs from the
// end of the previous crossfade to the next switch point's frame (0, the
// clip's end, for the last one).
void writeSegments(ScriptText& script, const Edit& edit, char angle) {
    const StringList& points = edit.switchPoints();
    const double overlap = numericValue(edit.overlap().text());
    std::int64_t start = 0;
    for (int i = 0; i < points.count(); ++i) {
        const double end = switchPointFrame(points.entry(i + 1));
        script.line(segmentName(angle, i) + "=angle" + angle + ".trim(" + decimalText(start) + "," + decimalText(end) +
                    ")");
        if (i + 1 < points.count()) start = segmentStart(end, overlap);
    }
}

void writeAngleSection(ScriptText& script, const Edit& edit, int row, const ClipReading& reading) {
    const char angle = angleLetter(row);
    script.line(kAngleHeaderBefore + std::string(1, angle) + kAngleHeaderAfter);
    script.line(std::string("angle") + angle + "=" + reading.picture(edit.clips().entry(row)) + ".trim(" +
                edit.startFrames().entry(row) + ",0)");
    script.emptyLine();
    writeSegments(script, edit, angle);
}

// "dissolve(A0, B1, A2, overlap)": for each switch point, the segment of the
// angle it names.
std::string videoLine(const StringList& points) {
    std::string list;
    for (int i = 0; i < points.count(); ++i)
        list += std::string(switchPointAngle(points.entry(i))) + decimalText(i) + ", ";
    return "video=dissolve(" + list + "overlap)";
}

const ClipReading kAviSource{
    [](const std::string& clip) { return "avisource(" + quoted(clip) + ").killaudio()"; },
    [](const std::string& clip) { return "avisource(" + quoted(clip) + ")"; },
};

}  // namespace

std::string angleSourceText(const Edit& edit, int row) {
    return kAviSource.picture(edit.clips().entry(row)) + ".trim(" + edit.startFrames().entry(row) + ",0)";
}

namespace {

// The edit's sound is the recording's, or angle A's from A's start frame on,
// so that its first sample lies under the picture's frame 0; a start of "0"
// needs no trim.
std::string audioLine(const Edit& edit, const ClipReading& reading) {
    if (!edit.soundRecording().isEmpty())
        return recordingAudioLine(edit.soundRecording().entry(0), edit.soundStart().entry(0));
    const std::string source = "audio=" + reading.pictureAndSound(edit.clips().entry(0));
    const std::string& start = edit.startFrames().entry(0);
    return start.empty() || start == "0" ? source : source + ".trim(" + start + ",0)";
}

}  // namespace

std::string editScriptText(const Edit& edit) { return editScriptText(edit, kAviSource); }

std::string editScriptText(const Edit& edit, const ClipReading& reading) {
    ScriptText script;
    script.line("overlap=" + edit.overlap().text());
    script.line(audioLine(edit, reading));
    for (int row = 0; row < edit.clips().count(); ++row) writeAngleSection(script, edit, row, reading);
    script.line(kClosingSeparator);
    script.line(videoLine(edit.switchPoints()));
    script.line("audiodub(video,audio)");
    script.line(edit.fadeInLine());
    script.line(edit.fadeOutLine());
    return script.text();
}

}  // namespace vistrel::model
