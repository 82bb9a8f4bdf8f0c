#include "model/SoundRecording.h"

#include "model/Scripts.h"

#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <cstdint>

namespace vistrel::model {
namespace {

constexpr std::size_t kMostMillisecondDigits = 12;

bool isWav(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).suffix().compare(QStringLiteral("wav"), Qt::CaseInsensitive) == 0;
}

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "-12.345" for 12345 ms: the start point negated, in seconds.
std::string delaySeconds(std::string_view milliseconds) {
    const bool negative = milliseconds.starts_with('-');
    if (negative) milliseconds.remove_prefix(1);
    std::string digits(milliseconds.find_first_not_of('0') == std::string_view::npos
                           ? std::string_view("0")
                           : milliseconds.substr(milliseconds.find_first_not_of('0')));
    if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
    const std::string seconds = digits.substr(0, digits.size() - 3) + "." + digits.substr(digits.size() - 3);
    return (negative || seconds == "0.000" ? "" : "-") + seconds;
}

// The start point in milliseconds of DelayAudio's "-12.345", written back as delaySeconds writes it.
std::optional<std::string> startMilliseconds(std::string_view seconds) {
    const bool delayed = !seconds.starts_with('-');
    if (!delayed) seconds.remove_prefix(1);
    const auto point = seconds.find('.');
    if (point == std::string_view::npos || !allDigits(seconds.substr(0, point)) || seconds.size() - point - 1 != 3 ||
        !allDigits(seconds.substr(point + 1)))
        return std::nullopt;
    std::string digits = std::string(seconds.substr(0, point)) + std::string(seconds.substr(point + 1));
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
    if (digits.size() > kMostMillisecondDigits) return std::nullopt;
    return (delayed && digits != "0" ? "-" : "") + digits;
}

}  // namespace

bool isWholeMilliseconds(std::string_view text) {
    if (text.starts_with('-')) text.remove_prefix(1);
    return allDigits(text) && text.size() <= kMostMillisecondDigits;
}

std::string recordingAudioLine(const std::string& path, const std::string& startMilliseconds) {
    return std::string("audio=") + (isWav(path) ? "wavsource" : "ffaudiosource") + "(\"" + path + "\").delayaudio(" +
           delaySeconds(startMilliseconds) + ")";
}

std::string listeningScriptText(const std::string& path, std::int64_t milliseconds) {
    const std::string name = QFileInfo(QString::fromStdString(path)).fileName().toStdString();
    return ScriptText()
        .line(std::string("sound=") + (isWav(path) ? "wavsource" : "ffaudiosource") + "(\"" + path + "\")")
        .line("AudioDub(BlankClip(" + std::to_string(std::max<std::int64_t>(milliseconds, 1)) +
              ",352,240,\"rgb32\",1000),sound).Subtitle(\"" + name + ": frame = millisecond\",align=5)")
        .text();
}

std::optional<RecordingInScript> readRecordingAudioLine(std::string_view line) {
    for (std::string_view function : {"audio=wavsource(\"", "audio=ffaudiosource(\""})
        if (line.starts_with(function)) {
            line.remove_prefix(function.size());
            const auto quote = line.find("\").delayaudio(");
            if (quote == std::string_view::npos || !line.ends_with(')')) return std::nullopt;
            const std::string_view seconds = line.substr(quote + 14, line.size() - quote - 15);
            auto start = startMilliseconds(seconds);
            if (!start) return std::nullopt;
            return RecordingInScript{std::string(line.substr(0, quote)), std::move(*start)};
        }
    return std::nullopt;
}

}  // namespace vistrel::model
