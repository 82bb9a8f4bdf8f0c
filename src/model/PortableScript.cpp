#include "model/PortableScript.h"

#include "model/MixedRates.h"
#include "model/Scripts.h"

#include <QFileInfo>

namespace vistrel::model {

namespace {

std::string quoted(const std::string& text) { return '"' + text + '"'; }

// The file, and what reading it takes in AviSynth+, picture alone or with its sound.
std::string ffmsReading(const std::string& file, bool withSound) {
    const std::string picture = "ffvideosource(" + quoted(file) + ")";
    return withSound ? "audiodub(" + picture + ",ffaudiosource(" + quoted(file) + "))" : picture;
}

// AVISource reads AVI files (and scripts); an .avs that is a conform script is read from its original file.
std::string portableReading(const std::string& clip, bool withSound) {
    if (const auto conformed = readConformedClip(clip)) {
        std::string text = ffmsReading(conformed->original, withSound);
        for (const auto& [before, after] : conformed->around) text = before + text + after;
        return text;
    }
    const QString suffix = QFileInfo(QString::fromStdString(clip)).suffix().toLower();
    if (suffix == "avi" || suffix == "avs")
        return "avisource(" + quoted(clip) + ")" + (withSound ? "" : ".killaudio()");
    return ffmsReading(clip, withSound);
}

}  // namespace

std::string portableScriptText(const Edit& edit, bool angleAHasSound) {
    return editScriptText(
        edit, ClipReading{[](const std::string& clip) { return portableReading(clip, false); },
                          [angleAHasSound](const std::string& clip) { return portableReading(clip, angleAHasSound); }});
}

ExportedCut portableScript(const CutList& cut) {
    Edit edit;
    edit.replace(cut.edit);
    return {portableScriptText(edit, cut.sound.recording || cut.sound.present), {}};
}

}  // namespace vistrel::model
