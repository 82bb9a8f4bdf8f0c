#include "model/CutList.h"

#include "model/EditTimeline.h"
#include "model/MixedRates.h"
#include "model/NumericText.h"
#include "model/SwitchPoint.h"

#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <cmath>

namespace vistrel::model {
std::string fileNameOf(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

namespace {

ClipFacts factsOf(const std::string& path, char letter, ClipRateProbe& probe) {
    auto facts = probe.factsOf(path);
    if (!facts || facts->rate.num <= 0 || facts->rate.den <= 0 || facts->frameCount <= 0)
        throw CutError(std::string("Angle ") + letter + " (" + fileNameOf(path) + ") cannot be read as a video.");
    return *facts;
}

CutAngle angleOf(const std::string& clip, int row, ClipRateProbe& probe) {
    CutAngle angle;
    angle.letter = angleLetter(row);
    angle.clip = clip;
    angle.file = clip;
    angle.clipFacts = factsOf(clip, angle.letter, probe);
    angle.facts = angle.clipFacts;
    if (const auto conformed = readConformedClip(clip)) {
        angle.file = conformed->original;
        angle.conformed = conformed->done;
        angle.facts = factsOf(angle.file, angle.letter, probe);
        angle.timings = conformed->timings;
    }
    return angle;
}

// trim(start, 0)'s first frame: held inside the clip.
std::int64_t startFrameIn(const std::string& text, std::int64_t frameCount) {
    const double value = numericValue(text);
    if (!(value > 0)) return 0;
    return std::min<std::int64_t>(static_cast<std::int64_t>(std::min(value, 9e15)), frameCount - 1);
}

}  // namespace

std::string CutAngle::name() const { return std::string("Angle ") + letter + " (" + fileNameOf(file) + ")"; }

bool CutAngle::retimed() const {
    return std::any_of(timings.begin(), timings.end(),
                       [](const ConformedClip::Timing& timing) { return timing.assumed.num > 0; });
}

std::int64_t CutAngle::fileFrame(std::int64_t timelineFrame) const {
    return originalFrame(timings, facts.rate, startFrame + timelineFrame);
}

double CutAngle::fileSeconds(std::int64_t timelineFrame) const {
    // The clip's frames last one over its rate each; a rate assumed by a script
    // stretches the file's time by its own rate against the assumed one.
    double seconds = static_cast<double>(startFrame + timelineFrame) / clipFacts.rate.fps();
    for (const ConformedClip::Timing& timing : timings)
        if (timing.assumed.num > 0) seconds *= timing.assumed.fps() / facts.rate.fps();
    return seconds;
}

std::int64_t originalFrame(const std::vector<ConformedClip::Timing>& timings, FrameRate fileRate, std::int64_t n) {
    // Each script's rate as its clip comes in, from the original outward.
    std::vector<FrameRate> incoming;
    FrameRate rate = fileRate;
    for (const ConformedClip::Timing& timing : timings) {
        if (timing.assumed.num > 0) rate = timing.assumed;
        incoming.push_back(rate);
        if (timing.changedTo.num > 0) rate = timing.changedTo;
    }
    for (std::size_t i = timings.size(); i-- > 0;) {
        const FrameRate to = timings[i].changedTo, from = incoming[i];
        if (to.num <= 0 || from.num <= 0) continue;
        // ChangeFPS shows frame n * a / b of its clip.
        const long double a = static_cast<long double>(from.num) * to.den;
        const long double b = static_cast<long double>(from.den) * to.num;
        n = static_cast<std::int64_t>(std::floor(static_cast<long double>(n) * a / b));
    }
    return n;
}

CutList cutList(const EditContent& edit, const std::string& title, ClipRateProbe& probe) {
    if (edit.clips.empty()) throw CutError("The edit has no clips.");
    if (edit.switchPoints.empty()) throw CutError("The edit has no switch points.");
    CutList cut;
    cut.edit = edit;
    cut.title = title;

    std::vector<std::int64_t> angleFrames;
    for (std::size_t row = 0; row < edit.clips.size(); ++row) {
        CutAngle& angle = cut.angles.emplace_back(angleOf(edit.clips[row], static_cast<int>(row), probe));
        const std::string startText = row < edit.startFrames.size() ? edit.startFrames[row] : std::string();
        angle.startFrame = startFrameIn(startText, angle.clipFacts.frameCount);
        angleFrames.push_back(angle.clipFacts.frameCount - angle.startFrame);
    }
    cut.rate = cut.angles[0].clipFacts.rate;
    cut.size = cut.angles[0].clipFacts.size;

    EditTiming timing{edit.switchPoints, static_cast<std::int64_t>(numericValue(edit.overlap)),
                      !edit.fadeInLine.empty()};
    timing.overlap = std::max<std::int64_t>(timing.overlap, 0);
    const std::int64_t blackIn = timing.fadeIn ? 1 : 0;
    for (const EditSegment& segment : editSegments(timing, angleFrames)) {
        if (segment.angleRow < 0 || static_cast<std::size_t>(segment.angleRow) >= cut.angles.size())
            throw CutError("A switch point names an angle the edit has no clip for.");
        const auto row = static_cast<std::size_t>(segment.angleRow);
        CutSegment cutSegment;
        cutSegment.angleRow = segment.angleRow;
        cutSegment.timelineFirst = segment.firstFrame;
        const CutAngle& angle = cut.angles[row];
        cutSegment.sourceFirst = angle.fileFrame(segment.firstFrame);
        cutSegment.sourceFrames = angle.fileFrame(segment.firstFrame + segment.frameCount) - cutSegment.sourceFirst;
        cutSegment.recordFirst = segment.editStart + blackIn;
        cutSegment.recordFrames = segment.frameCount;
        if (!cut.segments.empty()) {
            CutSegment& before = cut.segments.back();
            const std::int64_t shared = before.recordFirst + before.recordFrames - cutSegment.recordFirst;
            cutSegment.dissolveIn = std::clamp<std::int64_t>(shared, 0, cutSegment.recordFrames);
            before.dissolveOut = cutSegment.dissolveIn;
        }
        cut.segments.push_back(cutSegment);
    }

    const CutSegment& last = cut.segments.back();
    const std::int64_t joined = last.recordFirst + last.recordFrames - blackIn;
    cut.fadeInFrames = timing.fadeIn ? std::min(timing.overlap, joined) : 0;
    cut.fadeOutFrames = edit.fadeOutLine.empty() ? 0 : std::min(timing.overlap, joined);
    cut.frameCount = joined + blackIn + (edit.fadeOutLine.empty() ? 0 : 1);
    cut.firstPicture = blackIn;

    if (!edit.soundRecording.empty()) {
        cut.sound.recording = true;
        cut.sound.file = edit.soundRecording;
        cut.sound.startSeconds = numericValue(edit.soundStart) / 1000.0;
        cut.sound.present = true;
    } else {
        cut.sound.file = cut.angles[0].file;
        cut.sound.startSeconds = static_cast<double>(cut.angles[0].startFrame) / cut.rate.fps();
        cut.sound.present = cut.angles[0].facts.hasSound;
    }
    return cut;
}

}  // namespace vistrel::model
