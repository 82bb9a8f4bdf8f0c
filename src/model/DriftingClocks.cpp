#include "model/DriftingClocks.h"

#include "model/Messages.h"
#include "model/NumericText.h"
#include "model/Scripts.h"
#include "model/SwitchPoint.h"

#include <QFileInfo>
#include <QString>

#include <cmath>
#include <cstdio>
#include <numeric>

namespace vistrel::model {
namespace {

constexpr std::int64_t kTenthsOfPpm = 10'000'000;

std::string fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string questionText(const StringList& clips, const std::vector<DriftingAngle>& angles,
                         const std::string& reference) {
    std::string text;
    for (const DriftingAngle& angle : angles)
        text += "The clock of angle " + std::string(1, angleLetter(angle.row)) + " (" +
                QFileInfo(QString::fromStdString(clips.entry(angle.row))).fileName().toStdString() + ") runs " +
                fixed(std::abs(angle.ppm), 1) + " ppm " + (angle.ppm > 0 ? "fast" : "slow") + " against " + reference +
                "'s: by its end it is " + fixed(std::abs(angle.driftSeconds), 2) + " s out of step.\n";
    text += std::string("\n") + (angles.size() == 1 ? "Keep it" : "Keep them") + " in step with " + reference +
            "? Vistrel then writes a small script that plays the clip at its true rate and uses the script in the "
            "clip's place. No keeps the clip as it is.";
    return text;
}

// The frame of the retimed clip that shows the old start frame's picture.
std::string movedStartFrame(const std::string& text, FrameRate from, FrameRate to) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return text;
    const long double start = std::stoll(text);
    const long double frames = start * from.den / from.num * to.num / to.den;
    return decimalText(static_cast<std::int64_t>(std::ceil(frames - 1e-9L)));
}

}  // namespace

FrameRate trueRate(FrameRate nominal, double ppm) {
    const std::int64_t tenths = kTenthsOfPpm + std::llround(ppm * 10);
    std::int64_t num = nominal.num * tenths, den = nominal.den * kTenthsOfPpm;
    const std::int64_t divisor = std::gcd(num, den);
    return {num / divisor, den / divisor};
}

std::string retimeScriptText(const std::string& clipPath, FrameRate rate, FrameRate angleA) {
    return ScriptText()
        .line("ChangeFPS(AssumeFPS(avisource(\"" + clipPath + "\"), " + std::to_string(rate.num) + ", " +
              std::to_string(rate.den) + "), " + std::to_string(angleA.num) + ", " + std::to_string(angleA.den) + ")")
        .text();
}

void offerToRetime(StringList& clips, StringList& startFrames, const std::vector<DriftingAngle>& angles,
                   FrameRate angleA, const std::string& reference, RateMatching& matching) {
    if (angles.empty() || angleA.num <= 0 ||
        matching.questions.ask(questions::conformQuestion(questionText(clips, angles, reference))) != questions::yes)
        return;
    for (const DriftingAngle& angle : angles) {
        if (!clips.hasRow(angle.row) || angle.rate.num <= 0) continue;
        const FrameRate rate = trueRate(angle.rate, angle.ppm);
        const std::string& path = clips.entry(angle.row);
        const auto script =
            writeConformedScript(path, fixed(angle.ppm, 1) + "ppm", retimeScriptText(path, rate, angleA), matching);
        if (!script) return;
        clips.replace(angle.row, *script);
        if (startFrames.hasRow(angle.row))
            startFrames.replace(angle.row, movedStartFrame(startFrames.entry(angle.row), rate, angleA));
    }
}

}  // namespace vistrel::model
