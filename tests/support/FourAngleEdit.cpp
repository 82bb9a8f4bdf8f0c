#include "support/FourAngleEdit.h"

#include "model/MixedRates.h"
#include "model/ScriptFile.h"
#include "model/Scripts.h"
#include "support/TestMedia.h"

namespace vistrel::test {

std::optional<FourAngleEdit> fourAngleEdit(const std::filesystem::path& folder, std::string& skipReason,
                                           bool soundRecording) {
    MediaRecipe a = recipes::ffv1Avi(), b = recipes::mjpegAvi(), c = recipes::ffv1Avi(), d = recipes::h264Ts();
    a.name = "cut-a";
    b.name = "cut-b";
    c.name = "cut-c30";
    c.fpsNum = 30;
    c.frames = 240;
    c.audioRate = 0;
    d.name = "cut-d";
    FourAngleEdit edit;
    int row = 0;
    for (const MediaRecipe& recipe : {a, b, c, d}) {
        const auto file = testMedia(recipe, &skipReason);
        if (!file) return std::nullopt;
        edit.cameraFiles[row++] = std::filesystem::absolute(*file).string();
    }
    const std::string conformed = (folder / "cut-c30-25fps.avs").string();
    if (const auto failure = model::saveScriptFile(conformed, model::conformScriptText(edit.cameraFiles[2], {25, 1})))
        throw std::runtime_error(*failure);

    edit.content.clips = {edit.cameraFiles[0], edit.cameraFiles[1], conformed, edit.cameraFiles[3]};
    edit.content.startFrames = {"10", "0", "4", "6"};
    edit.content.switchPoints = {"00000000|A", "00000040|B", "00000085|C", "00000130|D", "00000160|A"};
    edit.content.overlap = "8";
    edit.content.fadeInLine = model::kFadeInStatement;
    edit.content.fadeOutLine = model::kFadeOutStatement;
    if (soundRecording) edit.content.soundRecording = edit.cameraFiles[1], edit.content.soundStart = "1480";
    model::Edit written;
    written.replace(edit.content);
    edit.script = folder / "four-angles.avs";
    if (const auto failure = model::saveScriptFile(edit.script.string(), model::editScriptText(written)))
        throw std::runtime_error(*failure);
    return edit;
}

}  // namespace vistrel::test
