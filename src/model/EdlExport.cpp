// The cut as a CMX 3600 edit decision list: one video track, an event per
// segment, a crossfade as the two-line event that dissolves from the segment
// before (its source held at the dissolve's start) into this one, the fades
// as dissolves from and to black (BL), and the edit's sound as one audio
// event. The list counts every time at one rate, the edit's; source times
// start from zero, as files without timecode have them.

#include "model/CutFormats.h"

#include <QFileInfo>
#include <QString>

#include <cmath>
#include <cstdio>
#include <set>

namespace vistrel::model {
namespace {

// The timecode's frames per second and whether it drops frame numbers
// (29.97 and 59.94 fps count 30 and 60 a second, leaving out two or four
// numbers each minute but every tenth).
struct TimecodeBase {
    std::int64_t perSecond = 25;
    bool dropFrame = false;
};

TimecodeBase timecodeBase(FrameRate rate) {
    const bool ntsc = rate.den == 1001 && rate.num % 1000 == 0;
    const std::int64_t perSecond = ntsc ? rate.num / 1000 : std::max<std::int64_t>(std::llround(rate.fps()), 1);
    return {perSecond, ntsc && perSecond % 30 == 0};
}

std::string timecode(std::int64_t frame, TimecodeBase base) {
    frame = std::max<std::int64_t>(frame, 0);
    if (base.dropFrame) {
        const std::int64_t dropped = base.perSecond / 15;
        const std::int64_t perTenMinutes = base.perSecond * 600 - 9 * dropped;
        const std::int64_t perMinute = base.perSecond * 60 - dropped;
        const std::int64_t tens = frame / perTenMinutes, rest = frame % perTenMinutes;
        frame += 9 * dropped * tens + (rest > dropped ? dropped * ((rest - dropped) / perMinute) : 0);
    }
    const std::int64_t perHour = base.perSecond * 3600;
    char text[96];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld%c%02lld", static_cast<long long>(frame / perHour % 24),
                  static_cast<long long>(frame / (base.perSecond * 60) % 60),
                  static_cast<long long>(frame / base.perSecond % 60), base.dropFrame ? ';' : ':',
                  static_cast<long long>(frame % base.perSecond));
    return text;
}

// A reel name: the file's name without its extension, in the characters and
// the eight places a reel has; the angle's letter when two would be the same.
std::vector<std::string> reelNames(const CutList& cut) {
    std::vector<std::string> reels;
    std::set<std::string> seen;
    bool clash = false;
    for (const CutAngle& angle : cut.angles) {
        std::string reel;
        for (const QChar c : QFileInfo(QString::fromStdString(angle.file)).completeBaseName()) {
            if (reel.size() == 8) break;
            const char ascii = c.toLatin1();
            reel += std::isalnum(static_cast<unsigned char>(ascii)) ? static_cast<char>(std::toupper(ascii)) : '_';
        }
        if (reel.empty() || reel == "BL" || !seen.insert(reel).second) clash = true;
        reels.push_back(reel);
    }
    if (clash)
        for (std::size_t row = 0; row < reels.size(); ++row)
            reels[row] = std::string("ANGLE_") + cut.angles[row].letter;
    return reels;
}

class EdlWriter {
public:
    explicit EdlWriter(const CutList& cut) : cut_(cut), base_(timecodeBase(cut.rate)), reels_(reelNames(cut)) {}

    ExportedCut write(const std::string& title) {
        text_ = "TITLE: " + title + " (" + rateText(cut_.rate) + " fps, " +
                (base_.dropFrame ? "drop frame" : "non-drop frame") + ")\r\n";
        text_ += std::string("FCM: ") + (base_.dropFrame ? "DROP FRAME" : "NON-DROP FRAME") + "\r\n";
        sayWhatTheListCannotHold();
        writeVideo();
        writeSound();
        return {text_, cannotHold_};
    }

private:
    // Where a source frame of an angle lies, counted at the list's rate.
    std::int64_t sourceAt(const CutSegment& segment, std::int64_t recordFrame) const {
        const FrameRate rate = cut_.angleOf(segment).facts.rate;
        return std::llround(static_cast<double>(cut_.sourceFrame(segment, recordFrame)) * cut_.rate.fps() / rate.fps());
    }

    void event(const std::string& reel, const char* channel, const std::string& transition, std::int64_t sourceIn,
               std::int64_t sourceOut, std::int64_t recordIn, std::int64_t recordOut) {
        char line[256];
        std::snprintf(line, sizeof line, "%-8s %-5s %-8s %s %s %s %s\r\n", reel.c_str(), channel, transition.c_str(),
                      timecode(sourceIn, base_).c_str(), timecode(sourceOut, base_).c_str(),
                      timecode(recordIn, base_).c_str(), timecode(recordOut, base_).c_str());
        char number[16];
        std::snprintf(number, sizeof number, "%03d  ", eventNumber_);
        text_ += number + std::string(line);
    }

    static std::string dissolve(std::int64_t frames) {
        char text[32];
        std::snprintf(text, sizeof text, "D    %03lld", static_cast<long long>(frames));
        return text;
    }

    void comment(const std::string& text) { text_ += "* " + text + "\r\n"; }

    void writeVideo() {
        const auto& segments = cut_.segments;
        const std::int64_t blackIn = cut_.firstPicture;
        const std::int64_t end = segments.back().recordFirst + segments.back().recordFrames;
        const std::int64_t fadeOutStart = end - cut_.fadeOutFrames;
        if (blackIn > 0) {
            ++eventNumber_;
            event("BL", "V", "C", 0, blackIn, 0, blackIn);
            text_ += "\r\n";
        }
        for (std::size_t i = 0; i < segments.size(); ++i) {
            const CutSegment& segment = segments[i];
            const CutAngle& angle = cut_.angleOf(segment);
            const std::string& reel = reels_[static_cast<std::size_t>(segment.angleRow)];
            const std::int64_t recordIn = segment.recordFirst;
            const std::int64_t recordOut =
                i + 1 < segments.size() ? segments[i + 1].recordFirst : (cut_.fadeOutFrames > 0 ? fadeOutStart : end);
            const std::int64_t fadeFromBlack = i == 0 ? cut_.fadeInFrames : 0;
            // A source runs as long as the record: an event plays its source at speed.
            const std::int64_t sourceIn = sourceAt(segment, recordIn), sourceOut = sourceIn + recordOut - recordIn;
            ++eventNumber_;
            if (i > 0 && segment.dissolveIn > 0) {
                const CutSegment& before = segments[i - 1];
                const std::int64_t held = sourceAt(before, recordIn);
                event(reels_[static_cast<std::size_t>(before.angleRow)], "V", "C", held, held, recordIn, recordIn);
                event(reel, "V", dissolve(segment.dissolveIn), sourceIn, sourceOut, recordIn, recordOut);
                comment("FROM CLIP NAME: " + fileNameOf(cut_.angleOf(before).file));
                comment("TO CLIP NAME: " + fileNameOf(angle.file));
            } else if (fadeFromBlack > 0) {
                event("BL", "V", "C", 0, 0, recordIn, recordIn);
                event(reel, "V", dissolve(fadeFromBlack), sourceIn, sourceOut, recordIn, recordOut);
                comment("FROM CLIP NAME: BLACK");
                comment("TO CLIP NAME: " + fileNameOf(angle.file));
            } else {
                event(reel, "V", "C", sourceIn, sourceOut, recordIn, recordOut);
                comment("FROM CLIP NAME: " + fileNameOf(angle.file));
            }
            comment("SOURCE FILE: " + angle.file);
            text_ += "\r\n";
        }
        if (cut_.fadeOutFrames > 0) {
            const CutSegment& last = segments.back();
            const std::int64_t held = sourceAt(last, fadeOutStart);
            ++eventNumber_;
            event(reels_[static_cast<std::size_t>(last.angleRow)], "V", "C", held, held, fadeOutStart, fadeOutStart);
            event("BL", "V", dissolve(cut_.fadeOutFrames), 0, cut_.frameCount - fadeOutStart, fadeOutStart,
                  cut_.frameCount);
            comment("FROM CLIP NAME: " + fileNameOf(cut_.angleOf(last).file));
            comment("TO CLIP NAME: BLACK");
            text_ += "\r\n";
        }
    }

    // One event laying the edit's sound under the whole edit, from where the
    // file lies under its first picture.
    void writeSound() {
        if (!cut_.sound.present) return;
        const double startFrames = cut_.sound.startSeconds * cut_.rate.fps();
        const std::int64_t start = std::llround(startFrames);
        const std::int64_t recordIn = cut_.firstPicture + std::max<std::int64_t>(-start, 0);
        const std::int64_t sourceIn = std::max<std::int64_t>(start, 0);
        if (recordIn >= cut_.frameCount) return;
        ++eventNumber_;
        const std::string reel = cut_.sound.recording ? std::string("SOUND") : reels_[0];
        event(reel, "AA", "C", sourceIn, sourceIn + cut_.frameCount - recordIn, recordIn, cut_.frameCount);
        comment("FROM CLIP NAME: " + fileNameOf(cut_.sound.file));
        comment("SOURCE FILE: " + cut_.sound.file);
    }

    void sayWhatTheListCannotHold() {
        const double fps = cut_.rate.fps();
        if (std::abs(fps - static_cast<double>(base_.perSecond) * (cut_.rate.den == 1001 ? 1000.0 / 1001 : 1.0)) > 1e-9)
            cannotHold_.push_back("The edit's rate of " + rateText(cut_.rate) +
                                  " fps has no timecode: the list counts " + std::to_string(base_.perSecond) +
                                  " frames a second.");
        for (const CutAngle& angle : cut_.angles) {
            const std::string name = angle.name();
            if (angle.facts.variableRate)
                cannotHold_.push_back(name + " has a variable frame rate: the list counts its frames at " +
                                      rateText(cut_.rate) +
                                      " fps by time, and an editor that counts its own frames "
                                      "may be a frame or more off.");
            else if (angle.retimed())
                cannotHold_.push_back(name +
                                      " is kept in step with its clock by a script: the list plays it at its "
                                      "own speed, from where each event starts.");
            else if (angle.facts.rate.num * cut_.rate.den != cut_.rate.num * angle.facts.rate.den)
                cannotHold_.push_back(name + " runs at " + rateText(angle.facts.rate) +
                                      " fps: the list gives its times at the edit's " + rateText(cut_.rate) + " fps.");
        }
        if (cut_.sound.present) {
            const double startFrames = cut_.sound.startSeconds * cut_.rate.fps();
            if (std::abs(startFrames - std::round(startFrames)) > 1e-6)
                cannotHold_.push_back(
                    "The sound recording starts between two frames: the list places it at the "
                    "nearest frame.");
        }
    }

    const CutList& cut_;
    TimecodeBase base_;
    std::vector<std::string> reels_;
    std::string text_;
    std::vector<std::string> cannotHold_;
    int eventNumber_ = 0;
};

}  // namespace

ExportedCut edlText(const CutList& cut) { return EdlWriter(cut).write(cut.title); }

}  // namespace vistrel::model
