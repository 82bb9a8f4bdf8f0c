#include "model/EditScriptReader.h"

#include "model/NumericText.h"
#include "model/Scripts.h"
#include "model/SoundRecording.h"
#include "model/SwitchPoint.h"

#include <algorithm>
#include <vector>

namespace vistrel::model {
namespace {

// The fixed lines around the angle sections: overlap and audio before them;
// the closing separator, video, dub and the two fade lines after them.
constexpr int kLinesBeforeSections = 2;
constexpr int kAudioLine = 2;
constexpr int kLinesAfterSections = 5;
constexpr int kSectionLinesBeforeSegments = 3;
constexpr std::size_t kLongestLineShown = 80;

[[noreturn]] void refuse(int line, std::string_view text) {
    std::string shown(text.substr(0, kLongestLineShown));
    if (text.size() > kLongestLineShown) shown += "...";
    if (shown.empty()) shown = "(an empty line)";
    throw UnreadableEditScript("line " + decimalText(line) + " could not be read: " + shown);
}

// The lines of a script, each of which ends with CR LF, the last one too.
class ScriptLines {
public:
    explicit ScriptLines(std::string_view text) {
        while (!text.empty()) {
            const auto end = text.find("\r\n");
            if (end == std::string_view::npos || text.substr(0, end).find('\n') != std::string_view::npos)
                throw UnreadableEditScript("line " + decimalText(count() + 1) + " does not end with CR LF");
            lines_.push_back(text.substr(0, end));
            text.remove_prefix(end + 2);
        }
    }

    int count() const { return static_cast<int>(lines_.size()); }
    // Line n, counted from 1.
    std::string_view at(int n) const {
        if (n < 1 || n > count()) throw UnreadableEditScript("the script ends before line " + decimalText(n));
        return lines_[static_cast<std::size_t>(n - 1)];
    }

private:
    std::vector<std::string_view> lines_;
};

bool consume(std::string_view& text, std::string_view prefix) {
    if (!text.starts_with(prefix)) return false;
    text.remove_prefix(prefix.size());
    return true;
}

// "video=dissolve(A0, B1, A2, overlap)": the angle letter of each switch point.
std::string dissolveLetters(const ScriptLines& lines, int n) {
    std::string_view rest = lines.at(n);
    std::string letters;
    if (!consume(rest, "video=dissolve(")) refuse(n, lines.at(n));
    while (rest != "overlap)") {
        if (rest.empty() || !isAngleLetter(rest.front())) refuse(n, lines.at(n));
        const char letter = rest.front();
        rest.remove_prefix(1);
        if (!consume(rest, decimalText(static_cast<int>(letters.size())) + ", ")) refuse(n, lines.at(n));
        letters += letter;
    }
    return letters;
}

// angleB=avisource("path").killaudio().trim(start,0)
void readAngleLine(const ScriptLines& lines, int n, char angle, EditContent& edit) {
    std::string_view rest = lines.at(n);
    if (!consume(rest, std::string("angle") + angle + "=avisource(\"")) refuse(n, lines.at(n));
    const auto quote = rest.find('"');
    if (quote == std::string_view::npos) refuse(n, lines.at(n));
    const std::string_view path = rest.substr(0, quote);
    rest.remove_prefix(quote);
    if (!consume(rest, "\").killaudio().trim(") || !rest.ends_with(",0)")) refuse(n, lines.at(n));
    rest.remove_suffix(3);
    edit.clips.emplace_back(path);
    edit.startFrames.emplace_back(rest);
}

// The switch point whose frame a segment ends with: the segment's end filled
// to 8 characters, then "|" and the angle, when it reads back as that end.
std::string switchPointEnding(const ScriptLines& lines, int n, char angle) {
    const std::string_view line = lines.at(n);
    const auto comma = line.rfind(',');
    if (comma == std::string_view::npos || !line.ends_with(')')) refuse(n, line);
    const std::string_view end = line.substr(comma + 1, line.size() - comma - 2);
    std::string frame(end);
    if (!frame.empty() && frame.front() >= '0' && frame.front() <= '9' && frame.size() < kSwitchPointFrameWidth)
        frame.insert(0, kSwitchPointFrameWidth - frame.size(), '0');
    std::string entry = frame + '|' + angle;
    if (decimalText(switchPointFrame(entry)) != end) refuse(n, line);
    return entry;
}

// The letters come from the dissolve list, the frames from the segment ends
// of the first angle: segment i - 1 ends at switch point i's frame.
std::vector<std::string> switchPoints(const ScriptLines& lines, const std::string& letters, bool withSegments,
                                      int videoLine) {
    constexpr int kFirstSegmentLine = kLinesBeforeSections + kSectionLinesBeforeSegments + 1;
    std::vector<std::string> points;
    for (int i = 0; i < static_cast<int>(letters.size()); ++i) {
        const char angle = letters[static_cast<std::size_t>(i)];
        const int endLine = withSegments ? kFirstSegmentLine + i - 1 : videoLine;
        std::string entry = i == 0         ? makeSwitchPointEntry("", angle)
                            : withSegments ? switchPointEnding(lines, endLine, angle)
                                           : makeSwitchPointEntry(decimalText(i), angle);
        if (i > 0 && switchListLess(entry, points.back())) refuse(endLine, lines.at(endLine));
        points.push_back(std::move(entry));
    }
    return points;
}

std::string fadeLine(const ScriptLines& lines, int n, const char* statement) {
    const std::string_view line = lines.at(n);
    if (!line.empty() && line != statement) refuse(n, line);
    return std::string(line);
}

// Scripts written before the sound was trimmed to angle A's start frame
// have its sound from A's first frame on; they open as the same edit, whose
// script then puts the sound in step.
bool isUntrimmedAudioLine(std::string_view line, std::string_view written, const EditContent& content) {
    return !content.startFrames.empty() && std::string(line) + ".trim(" + content.startFrames[0] + ",0)" == written;
}

// Writes the edit again and refuses the first line that comes out different.
void requireSameScript(const ScriptLines& lines, const EditContent& content) {
    Edit edit;
    edit.replace(content);
    const std::string text = editScriptText(edit);
    const ScriptLines written(text);
    for (int n = 1; n <= std::max(lines.count(), written.count()); ++n) {
        if (n == kAudioLine && n <= lines.count() && n <= written.count() &&
            isUntrimmedAudioLine(lines.at(n), written.at(n), content))
            continue;
        if (n > lines.count() || n > written.count() || lines.at(n) != written.at(n))
            refuse(n, lines.at(n));  // past the last line: "the script ends before line n"
    }
}

}  // namespace

// The video line is the last one that begins as it does; the sections fill
// the lines between the audio line and the closing separator, each with a
// header, the angle line, an empty line and one segment per switch point.
EditContent readEditScript(std::string_view text) {
    const ScriptLines lines(text);
    EditContent edit;
    std::string_view overlap = lines.at(1);
    if (!consume(overlap, "overlap=")) refuse(1, lines.at(1));
    edit.overlap = overlap;

    int videoLine = std::max(kLinesBeforeSections + 2, lines.count() - 3);
    for (int n = lines.count(); n > kLinesBeforeSections; --n)
        if (lines.at(n).starts_with("video=dissolve(")) {
            videoLine = n;
            break;
        }
    const std::string letters = dissolveLetters(lines, videoLine);
    const int sectionLines = static_cast<int>(letters.size()) + kSectionLinesBeforeSegments;
    const int sectionsLines = videoLine + 3 - kLinesBeforeSections - kLinesAfterSections;
    // A section short of lines still counts; the comparison names the line.
    const int angles = std::min(kMaxAngles, (sectionsLines + sectionLines - 1) / sectionLines);
    for (int row = 0; row < angles; ++row)
        readAngleLine(lines, kLinesBeforeSections + row * sectionLines + 2, angleLetter(row), edit);

    if (const auto recording = readRecordingAudioLine(lines.at(kAudioLine))) {
        edit.soundRecording = recording->path;
        edit.soundStart = recording->startMilliseconds;
    }
    edit.switchPoints = switchPoints(lines, letters, angles > 0, videoLine);
    edit.fadeInLine = fadeLine(lines, videoLine + 2, kFadeInStatement);
    edit.fadeOutLine = fadeLine(lines, videoLine + 3, kFadeOutStatement);
    requireSameScript(lines, edit);
    return edit;
}

}  // namespace vistrel::model
