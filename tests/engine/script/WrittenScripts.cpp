#include "engine/script/WrittenScripts.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vistrel::test {

namespace {
constexpr const char* kEnd = "\r\n";

double numericValue(const std::string& text) { return text.empty() ? 0.0 : std::atof(text.c_str()); }

// The sound line: angle A's sound from its start frame, or the recording
// from its start point: wavsource for a .wav (any case), ffaudiosource for
// anything else, moved by minus the start point in seconds, to the millisecond.
std::string audioLine(const EditScriptInput& input) {
    if (input.recording.empty()) {
        const std::string& startA = input.startFrames.at(0);
        return "audio=avisource(\"" + input.clips.at(0) + "\")" +
               (startA.empty() || startA == "0" ? "" : ".trim(" + startA + ",0)");
    }
    std::string extension = input.recording.substr(std::min(input.recording.size(), input.recording.rfind('.')));
    for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
    const long long delay = -input.recordingStartMs;
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%s%lld.%03lld", delay < 0 ? "-" : "", std::llabs(delay) / 1000,
                  std::llabs(delay) % 1000);
    return std::string("audio=") + (extension == ".wav" ? "wavsource" : "ffaudiosource") + "(\"" + input.recording +
           "\").delayaudio(" + seconds + ")";
}
}  // namespace

std::string editScript(const EditScriptInput& input) {
    std::string text = "overlap=" + input.overlap + kEnd;
    text += audioLine(input) + kEnd;
    const size_t points = input.switches.size();
    for (size_t a = 0; a < input.clips.size(); ++a) {
        const std::string letter(1, char('A' + a));
        text += "#-=-=-=-=-=-=-=-=-=angle " + letter + "=-=-=-=-=-=-=-=-=-=-=-" + kEnd;
        text += "angle" + letter + "=avisource(\"" + input.clips[a] + "\").killaudio().trim(" + input.startFrames[a] +
                ",0)" + kEnd;
        text += kEnd;
        long long start = 0;
        for (size_t i = 0; i < points; ++i) {
            const std::string next = i + 1 < points ? input.switches[i + 1].substr(0, 8) : "";
            const long long end = static_cast<long long>(numericValue(next));
            text += letter + std::to_string(i) + "=angle" + letter + ".trim(" + std::to_string(start) + "," +
                    std::to_string(end) + ")" + kEnd;
            if (i + 1 < points) start = std::llrint(numericValue(next) - numericValue(input.overlap) + 1);
        }
    }
    text += std::string("#-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=") + kEnd;
    std::string dissolveList;
    for (size_t i = 0; i < points; ++i) dissolveList += input.switches[i].back() + std::to_string(i) + ", ";
    text += "video=dissolve(" + dissolveList + "overlap)" + kEnd;
    text += std::string("audiodub(video,audio)") + kEnd;
    text += input.fadeIn + kEnd;
    text += input.fadeOut + kEnd;
    return text;
}

std::string previewScript(const std::vector<std::string>& clips, const std::vector<std::string>& startFrames,
                          const std::string& overlap, const std::string& fadeIn, const std::string& fadeOut) {
    std::string text = "overlap=" + overlap + kEnd;
    std::string columns;
    for (size_t i = 0; i < clips.size(); ++i) {
        text += "angle" + std::to_string(i) + "=avisource(\"" + clips[i] +
                "\").bilinearresize(176,120).converttorgb32().trim(" + startFrames[i] + ",0)" + kEnd;
        columns += "angle" + std::to_string(i) + ",";
    }
    for (size_t i = clips.size(); i < 4; ++i) columns += "bc,";
    text += std::string("bc=blankclip(angle0.framecount(),176,120,\"rgb32\",angle0.framerate())") + kEnd;
    text += "stackhorizontal(" + columns.substr(0, columns.size() - 1) + ")" + kEnd;
    text += fadeIn + kEnd;
    text += fadeOut + kEnd;
    return text;
}

std::string introScript() {
    return std::string("version().addborders(122,20,122,20).converttorgb32()") + kEnd +
           "subtitle(\"Vistrel is powered by:\", text_color=$ffffff)" + kEnd;
}

}  // namespace vistrel::test
