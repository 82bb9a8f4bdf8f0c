#include "model/CutExport.h"

#include "model/CutFormats.h"
#include "model/EditPreview.h"
#include "model/MltExport.h"
#include "model/PortableScript.h"
#include "model/ScriptFile.h"

#include <QByteArray>
#include <QFileInfo>
#include <QString>

#include <algorithm>

namespace vistrel::model {

const std::vector<CutFormat>& cutFormats() {
    static const std::vector<CutFormat> formats{
        {"otio", "OpenTimelineIO", otioText},
        {"fcpxml", "Final Cut Pro XML", fcpxmlText},
        {"edl", "CMX 3600 EDL", edlText},
        {"mlt", "MLT XML (Shotcut, melt)", mltText},
        {"avs", "AviSynth+ script with FFMS2", portableScript, true},
    };
    return formats;
}

std::vector<std::int64_t> trackCuts(const CutList& cut) {
    std::vector<std::int64_t> cuts;
    for (const CutSegment& segment : cut.segments)
        cuts.push_back(cuts.empty() ? segment.recordFirst + cut.fadeInFrames
                                    : std::max(segment.recordFirst + segment.dissolveIn / 2, cuts.back()));
    const CutSegment& last = cut.segments.back();
    cuts.push_back(std::max(last.recordFirst + last.recordFrames - cut.fadeOutFrames, cuts.back()));
    return cuts;
}

std::string cutFormatFilter() {
    std::string filter;
    for (const CutFormat& format : cutFormats())
        filter += std::string(filter.empty() ? "" : "|") + format.name + "|*." + format.extension;
    return filter;
}

namespace {

std::string extensionsText() {
    std::string text;
    const auto& formats = cutFormats();
    for (std::size_t i = 0; i < formats.size(); ++i)
        text += std::string(i == 0 ? "" : i + 1 == formats.size() ? " or " : ", ") + "." + formats[i].extension;
    return text;
}

}  // namespace

std::vector<std::string> exportCut(const std::string& path, const CutList& cut) {
    const std::string extension = QFileInfo(QString::fromStdString(path)).suffix().toLower().toStdString();
    for (const CutFormat& format : cutFormats()) {
        if (extension != format.extension) continue;
        ExportedCut exported = format.write(cut);
        const QByteArray bytes =
            format.scriptBytes ? scriptFileBytes(exported.text) : QByteArray::fromStdString(exported.text);
        if (const auto failure = saveWholeFile(path, bytes)) throw CutError("The cut was not exported: " + *failure);
        return exported.cannotHold;
    }
    throw CutError("The cut cannot be exported as \"" +
                   QFileInfo(QString::fromStdString(path)).fileName().toStdString() + "\": name a file ending in " +
                   extensionsText() + ".");
}

std::string cannotHoldMessage(const std::string& path, const std::vector<std::string>& cannotHold) {
    if (cannotHold.empty()) return {};
    std::string text =
        QFileInfo(QString::fromStdString(path)).fileName().toStdString() + " holds the cut, but not all of it:";
    for (const std::string& sentence : cannotHold) text += "\n- " + sentence;
    return text;
}

std::optional<std::string> exportEditCut(const Edit& edit, FileDialog& dialog, MessageSink& messages,
                                         ClipRateProbe& probe) {
    if (!enoughSwitchPoints(edit, messages)) return std::nullopt;
    const auto path = dialog.choose();
    if (!path || path->empty()) return std::nullopt;
    try {
        const std::string title = QFileInfo(QString::fromStdString(*path)).completeBaseName().toStdString();
        const auto cannotHold = exportCut(*path, cutList(edit.content(), title, probe));
        if (!cannotHold.empty()) messages.showMessage(cannotHoldMessage(*path, cannotHold));
    } catch (const CutError& error) {
        messages.showMessage(error.what());
        return std::nullopt;
    }
    return path;
}

}  // namespace vistrel::model
