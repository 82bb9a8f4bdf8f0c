#include "model/MixedRates.h"

#include "model/Messages.h"
#include "model/NumericText.h"
#include "model/ScriptFile.h"
#include "model/Scripts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vistrel::model {
namespace {

// Rates differ when the faster is 0.1 % or more faster than the slower:
// 30 fps next to 29.97 (1001/1000) drifts 3.6 s an hour and counts.
constexpr double kSameRateWithin = 0.001;
constexpr double kRoundingSlack = 1e-9;
constexpr int kMostScriptsOfOneName = 1000;
// A start frame of more digits is left as it is: moving it could overflow.
constexpr std::size_t kMostStartFrameDigits = 9;

struct DifferentRate {
    int row;
    FrameRate rate;
};

bool differs(FrameRate rate, FrameRate angleA) {
    const double faster = std::max(rate.fps(), angleA.fps()), slower = std::min(rate.fps(), angleA.fps());
    return faster / slower - 1.0 >= kSameRateWithin - kRoundingSlack;
}

std::string fileName(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

// How far apart, in seconds, a clip and angle A are after a minute shown frame for frame at angle A's rate.
std::string driftText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, seconds >= 10 ? "%.0f" : "%.2g", seconds);
    return text;
}

std::string questionText(const StringList& clips, const std::vector<DifferentRate>& differing, FrameRate angleA) {
    const bool one = differing.size() == 1;
    std::string text = "Angle A runs at " + rateText(angleA) + " fps, but ";
    double drift = 0;
    for (std::size_t i = 0; i < differing.size(); ++i) {
        if (i > 0) text += i + 1 == differing.size() ? " and " : ", ";
        text += fileName(clips.entry(differing[i].row)) + (i == 0 ? " runs at " : " at ") +
                rateText(differing[i].rate) + " fps";
        drift = std::max(drift, 60.0 * std::abs(angleA.fps() / differing[i].rate.fps() - 1.0));
    }
    text += one ? ": frame for frame, it drifts " : ": frame for frame, they drift up to ";
    text += driftText(drift) + " s a minute away from angle A.\n\n";
    text += std::string(one ? "Conform it" : "Conform them") + " to " + rateText(angleA) +
            " fps? Vistrel then writes a small script that repeats or leaves out frames, so that the clip keeps "
            "its real speed, and uses the script in the clip's place. No keeps the clip as it is.";
    return text;
}

// The first frame of the conformed clip that shows the old start frame's picture.
std::string movedStartFrame(const std::string& text, FrameRate from, FrameRate to) {
    if (text.empty() || text.size() > kMostStartFrameDigits ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return text;
    const std::int64_t start = std::stoll(text);
    const std::int64_t a = from.num * to.den, b = from.den * to.num;
    return decimalText((start * b + a - 1) / a);
}

}  // namespace

std::string rateText(FrameRate rate) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", rate.fps());
    std::string shown = text;
    shown.erase(shown.find_last_not_of('0') + 1);
    if (shown.back() == '.') shown.pop_back();
    return shown;
}

// The script under the conformed folder: named after the clip and what was
// done to it, the one there already when it conforms the same clip the same way.
std::optional<std::string> writeConformedScript(const std::string& clipPath, const std::string& nameSuffix,
                                                const std::string& text, RateMatching& matching) {
    QDir().mkpath(QString::fromStdString(matching.conformedFolder));
    const std::string stem = QFileInfo(QString::fromStdString(clipPath)).completeBaseName().toStdString();
    std::string failure;
    for (int n = 1; n <= kMostScriptsOfOneName; ++n) {
        const std::string path =
            matching.conformedFolder + "/" + stem + "-" + nameSuffix + (n > 1 ? "-" + std::to_string(n) : "") + ".avs";
        QFile existing(QString::fromStdString(path));
        if (!existing.exists()) {
            const auto reason = saveScriptFile(path, text);
            if (!reason) return path;
            failure = *reason;
            break;
        }
        if (existing.open(QIODevice::ReadOnly) && existing.readAll() == scriptFileBytes(text)) return path;
    }
    if (failure.empty()) failure = matching.conformedFolder + ": too many scripts of this name";
    matching.messages.showMessage("The script that conforms " + fileName(clipPath) +
                                  " could not be written: " + failure);
    return std::nullopt;
}

namespace {

std::optional<std::string> writeConformScript(const std::string& clipPath, FrameRate rate, RateMatching& matching) {
    return writeConformedScript(clipPath, rateText(rate) + "fps", conformScriptText(clipPath, rate), matching);
}

}  // namespace

std::string RateMatching::conformedFolderForPlatform() {
#ifdef Q_OS_WIN
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() + "/vistrel/conformed";
#else
    return conformedFolderFor(qEnvironmentVariable("XDG_DATA_HOME").toStdString(), QDir::homePath().toStdString());
#endif
}

std::string RateMatching::conformedFolderFor(const std::string& xdgDataHome, const std::string& home) {
    const std::string data = !xdgDataHome.empty() && xdgDataHome.front() == '/' ? xdgDataHome : home + "/.local/share";
    return data + "/vistrel/conformed";
}

namespace {

// "ChangeFPS(avisource("P"), 25, 1)" and the fit scripts: the clip read and what is done to it.
std::string sizeText(long long width, long long height) { return std::to_string(width) + "x" + std::to_string(height); }

struct ConformedStep {
    std::string clip;
    std::string done;
    std::string inBrief;
    ConformedClip::Timing timing;
    std::pair<std::string, std::string> around = {};
};

std::optional<ConformedStep> conformedStep(const std::string& line) {
    const auto source = line.find("avisource(\"");
    const auto end = line.find("\")", source);
    if (source == std::string::npos || end == std::string::npos) return std::nullopt;
    std::string clip = line.substr(source + 11, end - source - 11);
    std::pair<std::string, std::string> around{line.substr(0, source), line.substr(end + 2)};
    while (!around.second.empty() && (around.second.back() == '\n' || around.second.back() == '\r'))
        around.second.pop_back();
    std::vector<long long> numbers;
    for (std::size_t at = end; (at = line.find_first_of("0123456789", at)) != std::string::npos;) {
        std::size_t used = 0;
        numbers.push_back(std::stoll(line.substr(at), &used));
        at += used;
    }
    if (line.starts_with("ChangeFPS(AssumeFPS(avisource(") && numbers.size() == 4 && numbers[3] > 0)
        return ConformedStep{clip,
                             "kept in step with its clock at " + rateText({numbers[2], numbers[3]}) + " fps",
                             "in step",
                             {{numbers[0], numbers[1]}, {numbers[2], numbers[3]}},
                             around};
    if (line.starts_with("ChangeFPS(avisource(") && numbers.size() == 2 && numbers[1] > 0)
        return ConformedStep{clip,
                             rateText({numbers[0], numbers[1]}) + " fps",
                             rateText({numbers[0], numbers[1]}) + " fps",
                             {{0, 1}, {numbers[0], numbers[1]}},
                             around};
    if (line.starts_with("BilinearResize(avisource(") && numbers.size() == 2)
        return ConformedStep{
            clip, "fitted into " + sizeText(numbers[0], numbers[1]), sizeText(numbers[0], numbers[1]), {}, around};
    if (line.starts_with("AddBorders(BilinearResize(avisource(") && numbers.size() == 6)
        return ConformedStep{
            clip,
            "fitted into " + sizeText(numbers[0] + numbers[2] + numbers[4], numbers[1] + numbers[3] + numbers[5]),
            sizeText(numbers[0] + numbers[2] + numbers[4], numbers[1] + numbers[3] + numbers[5]),
            {},
            around};
    return std::nullopt;
}

}  // namespace

std::optional<ConformedClip> readConformedClip(const std::string& path) {
    constexpr int kMostSteps = 4;
    ConformedClip clip{path, {}, {}, {}, {}};
    for (int step = 0; step < kMostSteps && QFileInfo(QString::fromStdString(clip.original)).suffix() == "avs";
         ++step) {
        QFile file(QString::fromStdString(clip.original));
        if (!file.open(QIODevice::ReadOnly) || file.size() > 4096) break;
        const auto found = conformedStep(scriptFileText(file.readAll()));
        if (!found) break;
        clip.original = found->clip;
        clip.done.insert(clip.done.begin(), found->done);
        clip.timings.insert(clip.timings.begin(), found->timing);
        clip.around.insert(clip.around.begin(), found->around);
        if (clip.inBrief.empty()) clip.inBrief = found->inBrief;
    }
    if (clip.done.empty()) return std::nullopt;
    return clip;
}

std::string conformScriptText(const std::string& clipPath, FrameRate rate) {
    return ScriptText()
        .line("ChangeFPS(avisource(\"" + clipPath + "\"), " + std::to_string(rate.num) + ", " +
              std::to_string(rate.den) + ")")
        .text();
}

void offerToConform(StringList& clips, StringList& startFrames, const std::vector<int>& rows, RateMatching& matching) {
    if (!clips.hasRow(0)) return;
    const auto angleA = matching.rates.rateOf(clips.entry(0));
    if (!angleA || angleA->num <= 0 || angleA->den <= 0) return;
    std::vector<DifferentRate> differing;
    for (int row : rows) {
        if (row <= 0 || !clips.hasRow(row)) continue;
        const auto rate = matching.rates.rateOf(clips.entry(row));
        if (rate && rate->num > 0 && rate->den > 0 && differs(*rate, *angleA)) differing.push_back({row, *rate});
    }
    if (differing.empty() ||
        matching.questions.ask(questions::conformQuestion(questionText(clips, differing, *angleA))) != questions::yes)
        return;
    for (const DifferentRate& clip : differing) {
        const auto script = writeConformScript(clips.entry(clip.row), *angleA, matching);
        if (!script) return;
        clips.replace(clip.row, *script);
        if (startFrames.hasRow(clip.row))
            startFrames.replace(clip.row, movedStartFrame(startFrames.entry(clip.row), clip.rate, *angleA));
    }
}

}  // namespace vistrel::model
