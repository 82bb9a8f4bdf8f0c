#include "model/Edit.h"

#include "model/DriftingClocks.h"
#include "model/Messages.h"
#include "model/MixedSizes.h"
#include "model/NumericText.h"
#include "model/SoundRecording.h"
#include "model/SwitchPoint.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace vistrel::model {
namespace {

constexpr const char* kDefaultOverlap = "20";
constexpr const char* kNewClipStartFrame = "0";

void applyFadeToggle(CheckValue value, std::string& line, const char* statement) {
    if (value == CheckValue::Ticked)
        line = statement;
    else if (value == CheckValue::Unticked)
        line.clear();
}

}  // namespace

Edit::Edit()
    : overlap_(kDefaultOverlap, [this] {
          Operation typing(*this, "change the overlap", true);
          changed();
      }) {}

void Edit::initialise() {
    switchPoints_.insert(switchListInsertRow(switchPoints_, kStartSwitchPoint), kStartSwitchPoint);
    pointCount_.setText("1");
}

void Edit::addClip(FileDialog& openDialog, MessageSink& messages) {
    if (clips_.count() >= kMaxAngles) {
        messages.showMessage(messages::kTooManyAngles);
        return;
    }
    const auto path = openDialog.choose();
    if (!path || path->empty()) return;
    if (!isUsableInScript(*path)) {
        messages.showMessage(messages::kUnusableClipName);
        return;
    }
    Operation operation(*this, "add clip " + std::string(1, angleLetter(clips_.count())));
    ChangeGroup group(*this);
    clips_.append(*path);
    startFrames_.append(kNewClipStartFrame);
}

void Edit::addClips(FileDialog& openDialog, MessageSink& messages, RateMatching& matching) {
    if (clips_.count() >= kMaxAngles) {
        messages.showMessage(messages::kTooManyAngles);
        return;
    }
    std::vector<std::string> paths = openDialog.chooseSeveral();
    std::erase(paths, std::string());
    const auto unusable = std::erase_if(paths, [](const std::string& path) { return !isUsableInScript(path); });
    const int before = clips_.count();
    const int added = std::min(static_cast<int>(paths.size()), kMaxAngles - before);
    if (added > 0) {
        const std::string first(1, angleLetter(before)), last(1, angleLetter(before + added - 1));
        Operation operation(*this, added == 1 ? "add clip " + first : "add clips " + first + " to " + last);
        {
            ChangeGroup group(*this);
            for (int i = 0; i < added; ++i) {
                clips_.append(paths[static_cast<std::size_t>(i)]);
                startFrames_.append(kNewClipStartFrame);
            }
        }
        std::vector<int> rows(static_cast<std::size_t>(added));
        std::iota(rows.begin(), rows.end(), before);
        ChangeGroup group(*this);
        offerToConform(clips_, startFrames_, rows, matching);
        offerToFit(clips_, rows, matching);
    }
    if (unusable > 0) messages.showMessage(messages::kUnusableClipName);
    if (static_cast<int>(paths.size()) > added) messages.showMessage(messages::kTooManyAngles);
}

// A double quote or a line break would end the quoted path early in every
// script written from the edit and let the rest of the name run as script.
bool Edit::isUsableInScript(const std::string& path) { return path.find_first_of("\"\r\n") == std::string::npos; }

void Edit::addSwitchPoint(char angle, PlayerControl& player) {
    if (!isAngleLetter(angle)) throw std::invalid_argument(std::string("addSwitchPoint: no angle ") + angle);
    if (angle != 'A' && clips_.count() <= angleRow(angle)) return;

    const std::string reply = player.sendcommand(kStatusPositionCommand);
    currentPositionText_ = reply + '|' + angle;
    const std::string entry = makeSwitchPointEntry(reply, angle);
    Operation operation(*this, "add switch point");
    switchPoints_.insert(switchListInsertRow(switchPoints_, entry), entry);
    showSwitchPointCount();
}

void Edit::removeSwitchPoint(int selectedRow) {
    if (!switchPoints_.hasRow(selectedRow)) return;
    Operation operation(*this, "remove switch point");
    switchPoints_.remove(selectedRow);
    showSwitchPointCount();
}

void Edit::removeClip(int selectedRow) {
    if (!clips_.hasRow(selectedRow)) return;
    Operation operation(*this, "remove clip " + std::string(1, angleLetter(selectedRow)));
    ChangeGroup group(*this);
    if (startFrames_.hasRow(selectedRow)) startFrames_.remove(selectedRow);
    clips_.remove(selectedRow);
}

void Edit::removeClip(int selectedRow, RateMatching& matching) {
    const bool angleA = selectedRow == 0 && clips_.hasRow(0);
    Operation operation(*this, "remove clip " + std::string(1, angleLetter(std::max(selectedRow, 0))));
    removeClip(selectedRow);
    if (!angleA) return;
    std::vector<int> rest;
    for (int row = 1; row < clips_.count(); ++row) rest.push_back(row);
    ChangeGroup group(*this);
    offerToConform(clips_, startFrames_, rest, matching);
    offerToFit(clips_, rest, matching);
}

void Edit::selectSwitchPoint(int selectedRow, PlayerControl& player) const {
    if (!switchPoints_.hasRow(selectedRow)) return;
    const std::string& entry = switchPoints_.entry(selectedRow);
    player.sendcommand(kSeekToCommandPrefix + std::string(switchPointFrameText(entry)));
}

void Edit::fadeInToggled(CheckValue value) {
    Operation operation(*this, "fade in");
    applyFadeToggle(value, fadeInLine_, kFadeInStatement);
    changed();
}

void Edit::fadeOutToggled(CheckValue value) {
    Operation operation(*this, "fade out");
    applyFadeToggle(value, fadeOutLine_, kFadeOutStatement);
    changed();
}

void Edit::setStartFrame(int selectedRow, std::string text) {
    if (!startFrames_.hasRow(selectedRow)) return;
    Operation operation(*this, "set the start frame of " + std::string(1, angleLetter(selectedRow)));
    startFrames_.replace(selectedRow, std::move(text));
}

void Edit::loadSoundRecording(FileDialog& dialog, MessageSink& messages) {
    const auto path = dialog.choose();
    if (!path || path->empty()) return;
    if (!isUsableInScript(*path)) {
        messages.showMessage(messages::kUnusableClipName);
        return;
    }
    Operation operation(*this, "load the sound recording");
    ChangeGroup group(*this);
    removeSoundRecording();
    soundRecording_.append(*path);
    soundStart_.append("0");
}

void Edit::removeSoundRecording() {
    Operation operation(*this, "remove the sound recording");
    ChangeGroup group(*this);
    if (soundRecording_.hasRow(0)) soundRecording_.remove(0);
    if (soundStart_.hasRow(0)) soundStart_.remove(0);
}

bool Edit::setSoundStart(const std::string& milliseconds, MessageSink& messages) {
    if (!soundStart_.hasRow(0)) return false;
    if (!isWholeMilliseconds(milliseconds)) {
        messages.showMessage(messages::kSoundStartNotWhole);
        return false;
    }
    const std::string start = decimalText(static_cast<std::int64_t>(std::stoll(milliseconds)));
    if (start == soundStart_.entry(0)) return false;
    Operation operation(*this, "set the start point of the sound recording");
    soundStart_.replace(0, start);
    return true;
}

EditContent Edit::content() const {
    return {clips_.entries(), startFrames_.entries(), switchPoints_.entries(),  overlap_.text(),
            fadeInLine_,      fadeOutLine_,           soundRecording_.entry(0), soundStart_.entry(0)};
}

namespace {

void replaceEntries(StringList& list, const std::vector<std::string>& entries) {
    while (!list.isEmpty()) list.remove(list.count() - 1);
    for (const auto& entry : entries) list.append(entry);
}

}  // namespace

void Edit::replace(const EditContent& content, std::string name) {
    if (content.clips.size() > static_cast<std::size_t>(kMaxAngles))
        throw std::invalid_argument("Edit::replace: more than 4 clips");
    if (content.startFrames.size() != content.clips.size())
        throw std::invalid_argument("Edit::replace: not one start frame per clip");
    const auto& points = content.switchPoints;
    if (std::adjacent_find(points.begin(), points.end(), [](const std::string& a, const std::string& b) {
            return switchListLess(b, a);
        }) != points.end())
        throw std::invalid_argument("Edit::replace: switch points out of order");
    if (content.soundRecording.empty() ? !content.soundStart.empty() : !isWholeMilliseconds(content.soundStart))
        throw std::invalid_argument("Edit::replace: a sound recording without a start point in milliseconds");

    Operation operation(*this, name);
    ChangeGroup group(*this);
    replaceEntries(clips_, content.clips);
    replaceEntries(startFrames_, content.startFrames);
    replaceEntries(switchPoints_, content.switchPoints);
    replaceEntries(soundRecording_,
                   content.soundRecording.empty() ? std::vector<std::string>{} : std::vector{content.soundRecording});
    replaceEntries(soundStart_,
                   content.soundStart.empty() ? std::vector<std::string>{} : std::vector{content.soundStart});
    showSwitchPointCount();
    fadeInLine_ = content.fadeInLine;
    fadeOutLine_ = content.fadeOutLine;
    currentPositionText_.clear();
    overlap_.setText(content.overlap);
    changed();  // the fade lines
}

void Edit::setStartFramesFromSound(const std::vector<std::string>& matchedClips, double fpsA,
                                   const std::vector<SoundMatchFound>& found, double sure, MessageSink& messages) {
    if (clips_.entries() != matchedClips) {
        messages.showMessage(messages::kClipsChangedDuringSoundMatch);
        return;
    }
    const SoundStartFrames result = startFramesFromSound(startFrames_.entries(), fpsA, found, sure);
    {
        Operation operation(*this, "match start frames by sound");
        ChangeGroup group(*this);  // heard before the message waits for its OK
        for (int row = 0; row < startFrames_.count(); ++row)
            if (startFrames_.entry(row) != result.startFrames[static_cast<std::size_t>(row)])
                startFrames_.replace(row, result.startFrames[static_cast<std::size_t>(row)]);
    }
    messages.showMessage(result.message);
}

void Edit::setStartFramesFromRecording(const std::vector<std::string>& matchedClips, const std::string& recording,
                                       std::int64_t startMs, const std::vector<SoundMatchFound>& found, double sure,
                                       MessageSink& messages) {
    if (clips_.entries() != matchedClips || soundRecording_.entry(0) != recording) {
        messages.showMessage(messages::kClipsChangedDuringSoundMatch);
        return;
    }
    const SoundStartFrames result =
        startFramesFromRecording(startFrames_.entries(), soundStart_.entry(0), startMs, found, sure);
    {
        Operation operation(*this, "match start frames by sound");
        ChangeGroup group(*this);  // heard before the message waits for its OK
        for (int row = 0; row < startFrames_.count(); ++row)
            if (startFrames_.entry(row) != result.startFrames[static_cast<std::size_t>(row)])
                startFrames_.replace(row, result.startFrames[static_cast<std::size_t>(row)]);
        if (soundStart_.hasRow(0) && soundStart_.entry(0) != decimalText(startMs))
            soundStart_.replace(0, decimalText(startMs));
    }
    messages.showMessage(result.message);
}

void Edit::offerToKeepInStep(const std::vector<SoundMatchFound>& found, int firstRow, double sure, FrameRate angleA,
                             const std::string& reference, RateMatching& matching) {
    std::vector<DriftingAngle> drifting;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const SoundMatchFound& angle = found[i];
        if (angle.confidence >= sure && angle.driftSeconds && angle.driftPpm && angle.rate.num > 0)
            drifting.push_back({firstRow + static_cast<int>(i), *angle.driftPpm, angle.rate, *angle.driftSeconds});
    }
    if (drifting.empty()) return;
    Operation operation(*this, "keep clocks in step");
    ChangeGroup group(*this);
    offerToRetime(clips_, startFrames_, drifting, angleA, reference, matching);
}

void Edit::showSwitchPointCount() { pointCount_.setText(decimalText(switchPoints_.count())); }

void Edit::changed() {
    if (operationDepth_ == 0) lastChange_ = {"change the edit", lastChange_.operation + 1, false};
    if (changeGroupDepth_ > 0)
        changePending_ = true;
    else if (changeListener_)
        changeListener_();
}

Edit::Operation::Operation(Edit& edit, std::string name, bool continuous) : edit_(edit) {
    if (edit_.operationDepth_++ == 0)
        edit_.lastChange_ = {std::move(name), edit_.lastChange_.operation + 1, continuous};
}

Edit::ChangeGroup::~ChangeGroup() {
    if (--edit_.changeGroupDepth_ > 0 || !edit_.changePending_) return;
    edit_.changePending_ = false;
    edit_.changed();
}

}  // namespace vistrel::model
