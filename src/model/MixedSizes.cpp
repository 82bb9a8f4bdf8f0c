#include "model/MixedSizes.h"

#include "model/Messages.h"
#include "model/Scripts.h"
#include "model/SwitchPoint.h"

#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <cmath>

namespace vistrel::model {
namespace {

struct DifferentSize {
    int row;
    FrameSize size;
};

std::string sizeText(FrameSize size) { return std::to_string(size.width) + "x" + std::to_string(size.height); }

std::string fileName(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

// Even, so that every pixel type the engine decodes to can be resized and bordered.
int evenAtMost(double value) { return std::max(2, static_cast<int>(std::floor(value / 2)) * 2); }

std::string questionText(const StringList& clips, const std::vector<DifferentSize>& differing, FrameSize angleA) {
    const bool one = differing.size() == 1;
    std::string text;
    for (std::size_t i = 0; i < differing.size(); ++i)
        text += std::string(i == 0                      ? ""
                            : i + 1 == differing.size() ? " and "
                                                        : ", ") +
                "angle " + angleLetter(differing[i].row) + " (" + fileName(clips.entry(differing[i].row)) + ") is " +
                sizeText(differing[i].size);
    text +=
        ", but angle A is " + sizeText(angleA) + ": the edit cannot dissolve between pictures of different sizes.\n\n";
    text += std::string(one ? "Fit it" : "Fit them") + " into " + sizeText(angleA) +
            "? Vistrel then writes a small script that resizes the clip keeping its shape, with black borders where "
            "the shapes differ, and uses the script in the clip's place. No keeps the clip as it is.";
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

}  // namespace

std::string fitScriptText(const std::string& clipPath, FrameSize from, FrameSize into) {
    const double scale = std::min(double(into.width) / from.width, double(into.height) / from.height);
    const int width = std::min(into.width, evenAtMost(from.width * scale + 1));
    const int height = std::min(into.height, evenAtMost(from.height * scale + 1));
    const std::string resized = "BilinearResize(avisource(\"" + clipPath + "\"), " + std::to_string(width) + ", " +
                                std::to_string(height) + ")";
    if (width == into.width && height == into.height) return ScriptText().line(resized).text();
    const int left = (into.width - width) / 4 * 2, top = (into.height - height) / 4 * 2;
    return ScriptText()
        .line("AddBorders(" + resized + ", " + std::to_string(left) + ", " + std::to_string(top) + ", " +
              std::to_string(into.width - width - left) + ", " + std::to_string(into.height - height - top) + ")")
        .text();
}

void offerToFit(StringList& clips, const std::vector<int>& rows, RateMatching& matching) {
    if (!clips.hasRow(0)) return;
    const auto angleA = matching.rates.sizeOf(clips.entry(0));
    if (!angleA || angleA->width <= 0 || angleA->height <= 0) return;
    std::vector<DifferentSize> differing;
    for (int row : rows) {
        if (row <= 0 || !clips.hasRow(row)) continue;
        const auto size = matching.rates.sizeOf(clips.entry(row));
        if (size && size->width > 0 && size->height > 0 && *size != *angleA) differing.push_back({row, *size});
    }
    if (differing.empty() ||
        matching.questions.ask(questions::conformQuestion(questionText(clips, differing, *angleA))) != questions::yes)
        return;
    for (const DifferentSize& clip : differing) {
        const std::string& path = clips.entry(clip.row);
        const auto script =
            writeConformedScript(path, sizeText(*angleA), fitScriptText(path, clip.size, *angleA), matching);
        if (!script) return;
        clips.replace(clip.row, *script);
    }
}

std::optional<std::string> sizesThatDiffer(const StringList& clips, ClipRateProbe& probe) {
    const auto angleA = probe.sizeOf(clips.entry(0));
    if (!angleA) return std::nullopt;
    std::string text;
    for (int row = 1; row < clips.count(); ++row) {
        const auto size = probe.sizeOf(clips.entry(row));
        if (size && *size != *angleA)
            text += std::string(text.empty() ? "" : ", ") + "angle " + angleLetter(row) + " is " + sizeText(*size);
    }
    if (text.empty()) return std::nullopt;
    return "The angles differ in picture size: angle A is " + sizeText(*angleA) + ", " + text +
           ". The edit can only dissolve between pictures of one size: remove the clip and load it again to fit "
           "it into angle A's size.";
}

}  // namespace vistrel::model
