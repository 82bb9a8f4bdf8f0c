#include "model/PreviewScript.h"

#include "model/Angle.h"
#include "model/Messages.h"
#include "model/NumericText.h"
#include "model/ScriptText.h"

namespace vistrel::model {
namespace {

constexpr int kMinimumPreviewClips = 2;

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

void ShowPreview(const Edit& edit, PlayerControl& player, MessageSink& messages, const ScriptLocations& locations) {
    player.stop();
    player.filename(locations.introPlayerPath);
    if (edit.clips().count() < kMinimumPreviewClips) {
        messages.showMessage(messages::kTooFewClipsForPreview);
        return;
    }
    if (const auto failure = locations.write(locations.previewPath, previewScriptText(edit))) {
        messages.showMessage(messages::kPreviewNotWrittenPrefix + *failure);
        return;
    }
    player.filename(locations.previewPlayerPath);
    player.play();
}

}  // namespace vistrel::model
