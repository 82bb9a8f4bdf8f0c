#include "model/SoundStartFrames.h"

#include "model/NumericText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace vistrel::model {
namespace {

std::string angleName(std::size_t index) { return std::string(1, static_cast<char>('A' + index)); }

std::string fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, std::abs(value) < 0.0005 ? 0.0 : value);
    return text;
}

// Two decimals, never rounded up past the threshold. A confidence that
// already has two (vistrel-sync's report) keeps them: 0.29 is 0.28999... as
// a double, hence the nudge, far below anything the matching can tell apart.
std::string confidenceText(double confidence) { return fixed(std::floor(confidence * 100 + 1e-6) / 100, 2); }

// A start frame written as a plain whole number ("12", "-3"); nullopt for
// anything else the user typed, which is left as it is.
std::optional<std::int64_t> wholeNumber(const std::string& text) {
    const std::size_t digits = text.starts_with('-') ? 1 : 0;
    if (text.size() == digits || text.size() > 15 + digits ||
        !std::all_of(text.begin() + static_cast<std::ptrdiff_t>(digits), text.end(),
                     [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::llround(numericValue(text));
}

}  // namespace

SoundStartFrames startFramesFromSound(const std::vector<std::string>& current, double fpsA,
                                      const std::vector<SoundMatchFound>& found, double sure) {
    SoundStartFrames result{current, "Start frames found from the sound:\n"};
    if (current.size() != found.size() + 1 || fpsA <= 0) return result;

    // The moment of A's start frame, in A's time; moved on when a sure angle
    // started after it.
    std::int64_t startA = std::llround(numericValue(current[0]));
    double earliest = 0;
    std::string movedBecause;  // the angle that started latest after A
    for (std::size_t i = 0; i < found.size(); ++i) {
        const double moment = double(startA) / fpsA + found[i].offsetSeconds;
        if (found[i].confidence >= sure && moment < earliest) {
            earliest = moment;
            movedBecause = angleName(i + 1);
        }
    }
    if (earliest < 0) {
        // To the nearest frame: the angle then starts within half a frame of
        // its first, at frame 0.
        startA = std::llround((double(startA) / fpsA - earliest) * fpsA);
        result.startFrames[0] = decimalText(startA);
    }

    // How far A's start moved on, in seconds: an angle the matching is
    // unsure of moves as far, so that one lined up by hand stays in step.
    const double movedSeconds = double(startA - std::llround(numericValue(current[0]))) / fpsA;
    std::vector<std::string> unsure, movedWithA;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const SoundMatchFound& angle = found[i];
        const std::string name = angleName(i + 1);
        const std::string figures =
            "offset " + fixed(angle.offsetSeconds, 3) + " s, confidence " + confidenceText(angle.confidence);
        if (angle.confidence < sure) {
            const std::optional<std::int64_t> frame = wholeNumber(current[i + 1]);
            if (movedSeconds != 0 && frame && angle.fps > 0) {
                const std::int64_t moved = *frame + std::llround(movedSeconds * angle.fps);
                result.startFrames[i + 1] = decimalText(moved);
                movedWithA.push_back(name);
                result.message += name + ": moved with angle A to " + decimalText(moved) + " (" + figures + ")\n";
                continue;
            }
            unsure.push_back(name);
            result.message += name + ": left at " + current[i + 1] + " (" + figures + ")\n";
            continue;
        }
        const double moment = double(startA) / fpsA + angle.offsetSeconds;
        const std::int64_t frame = std::max<std::int64_t>(0, std::llround(moment * angle.fps));
        result.startFrames[i + 1] = decimalText(frame);
        result.message += name + ": frame " + decimalText(frame) + " (" + figures + ")";
        if (angle.driftSeconds)
            result.message += "; its clock drifts " + fixed(*angle.driftSeconds, 3) + " s over its length";
        result.message += "\n";
    }
    if (earliest < 0)
        result.message += "Angle A now starts at frame " + decimalText(startA) + ", so that angle " + movedBecause +
                          " does not start before its first frame.\n";
    const auto listLine = [&](const std::string& what, const std::vector<std::string>& names) {
        if (names.empty()) return;
        result.message += "Below confidence " + fixed(sure, 2) + ", " + what + ": ";
        for (std::size_t i = 0; i < names.size(); ++i) result.message += (i ? ", " : "") + names[i];
        result.message += ".\n";
    };
    listLine("moved with angle A only", movedWithA);
    listLine("left unchanged", unsure);
    result.message += "Check any angle you are unsure of in the start-point dialog (double-click its start frame).";
    return result;
}

SoundStartFrames startFramesFromRecording(const std::vector<std::string>& current, const std::string& currentStartMs,
                                          std::int64_t startMs, const std::vector<SoundMatchFound>& found,
                                          double sure) {
    SoundStartFrames result{current, "Start frames found from the sound recording:\n"};
    if (current.size() != found.size()) return result;
    const auto before = wholeNumber(currentStartMs);
    const double movedSeconds = before ? double(startMs - *before) / 1000 : 0;
    std::vector<std::string> unsure;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const SoundMatchFound& angle = found[i];
        const std::string name = angleName(i);
        const std::string figures =
            "offset " + fixed(angle.offsetSeconds, 3) + " s, confidence " + confidenceText(angle.confidence);
        if (angle.confidence >= sure && angle.startFrame) {
            result.startFrames[i] = decimalText(std::max<std::int64_t>(0, *angle.startFrame));
            result.message += name + ": frame " + result.startFrames[i] + " (" + figures + ")";
            if (angle.driftPpm)
                result.message += "; its clock runs " + fixed(*angle.driftPpm, 1) + " ppm against the recording's";
            result.message += "\n";
            continue;
        }
        const std::optional<std::int64_t> frame = wholeNumber(current[i]);
        if (movedSeconds != 0 && frame && angle.fps > 0)
            result.startFrames[i] =
                decimalText(static_cast<std::int64_t>(*frame + std::llround(movedSeconds * angle.fps)));
        unsure.push_back(name);
        result.message += name + ": " + (result.startFrames[i] != current[i] ? "moved to " : "left at ") +
                          result.startFrames[i] + " (" + figures + ")\n";
    }
    result.message += "The edit starts " + fixed(double(startMs) / 1000, 3) + " s into the sound recording.\n";
    if (!unsure.empty()) {
        result.message += "Below confidence " + fixed(sure, 2) + ", kept in place against the recording: ";
        for (std::size_t i = 0; i < unsure.size(); ++i) result.message += (i ? ", " : "") + unsure[i];
        result.message += ".\n";
    }
    result.message += "Check any angle you are unsure of in the start-point dialog (double-click its start frame).";
    return result;
}

}  // namespace vistrel::model
