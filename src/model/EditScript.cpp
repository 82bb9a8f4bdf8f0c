#include "model/EditScript.h"

#include "model/Angle.h"
#include "model/Messages.h"
#include "model/NumericText.h"
#include "model/ScriptFile.h"
#include "model/ScriptText.h"
#include "model/SegmentStart.h"
#include "model/SwitchPoint.h"

namespace vistrel::model {
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

void writeAngleSection(ScriptText& script, const Edit& edit, int row) {
    const char angle = angleLetter(row);
    script.line(kAngleHeaderBefore + std::string(1, angle) + kAngleHeaderAfter);
    script.line(std::string("angle") + angle + "=" + angleSourceText(edit, row));
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

}  // namespace

std::string angleSourceText(const Edit& edit, int row) {
    return "avisource(" + quoted(edit.clips().entry(row)) + ").killaudio().trim(" + edit.startFrames().entry(row) +
           ",0)";
}

std::string editScriptText(const Edit& edit) {
    ScriptText script;
    script.line("overlap=" + edit.overlap().text());
    script.line("audio=avisource(" + quoted(edit.clips().entry(0)) + ")");
    for (int row = 0; row < edit.clips().count(); ++row) writeAngleSection(script, edit, row);
    script.line(kClosingSeparator);
    script.line(videoLine(edit.switchPoints()));
    script.line("audiodub(video,audio)");
    script.line(edit.fadeInLine());
    script.line(edit.fadeOutLine());
    return script.text();
}

bool buildEditScript(const Edit& edit, FileDialog& saveDialog, MessageSink& messages) {
    if (edit.switchPoints().count() <= 1) {
        messages.showMessage(messages::kTooFewSwitchPoints);
        return false;
    }
    const auto path = saveDialog.choose();
    if (!path || path->empty()) return false;

    if (const auto failure = saveScriptFile(*path, editScriptText(edit))) {
        messages.showMessage(messages::kScriptNotSavedPrefix + *failure);
        return false;
    }
    messages.showMessage(messages::kScriptSaved);
    return true;
}

}  // namespace vistrel::model
