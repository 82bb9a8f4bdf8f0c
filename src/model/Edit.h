#pragma once

#include "model/MixedRates.h"
#include "model/Ports.h"
#include "model/SoundStartFrames.h"
#include "model/StringList.h"
#include "model/TextField.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vistrel::model {

// The fade lines a ticked "fade in" and "fade out" give.
inline constexpr const char* kFadeInStatement = "fadein(overlap)";
inline constexpr const char* kFadeOutStatement = "fadeout(overlap)";

// The value of a check box as the fade toggles read it.
enum class CheckValue { Unticked = 0, Ticked = 1, Greyed = 2 };

// Everything an edit consists of, as plain values: what a saved edit script
// or the kept edit brings back. The switch points are in switch list order.
struct EditContent {
    std::vector<std::string> clips;
    std::vector<std::string> startFrames;  // one per clip
    std::vector<std::string> switchPoints;
    std::string overlap;
    std::string fadeInLine;
    std::string fadeOutLine;
    // The sound recording (SoundRecording.h); both empty without one.
    std::string soundRecording;
    std::string soundStart;  // whole milliseconds

    bool operator==(const EditContent&) const = default;
};

// What the last change of an edit's content was: the operation that made it,
// by the name its undo takes ("remove clip B"), and a number that every
// operation takes anew, so that the changes of one operation (a clip added,
// then conformed after a question) can be told as one.
struct EditChange {
    std::string name;
    std::uint64_t operation = 0;
    bool continuous = false;  // typing: one change of a run of them
};

// The whole edit: up to four clips with their start frames, the switch
// points, the overlap, the point count and the fade lines, with the
// operations that change them. The window owns exactly one Edit, shows its
// lists and fields directly and runs one operation per event. Everything an
// operation needs from outside (the selected row, the player, a dialog, the
// message box) is passed in; row -1 means that nothing is selected.
class Edit {
public:
    Edit();
    Edit(const Edit&) = delete;
    Edit& operator=(const Edit&) = delete;

    // The lists: clip paths, their start frames (one per clip, same row) and
    // the switch points in switch list order.
    const StringList& clips() const { return clips_; }
    const StringList& startFrames() const { return startFrames_; }
    const StringList& switchPoints() const { return switchPoints_; }
    // The sound recording and its start point in milliseconds
    // (SoundRecording.h): one entry each, or none when the edit has angle A's
    // sound. The window shows them under the clips and their start frames.
    const StringList& soundRecording() const { return soundRecording_; }
    const StringList& soundStart() const { return soundStart_; }

    // The overlap box: free text, "20" at first. The window passes typing in.
    TextField& overlap() { return overlap_; }
    const TextField& overlap() const { return overlap_; }
    // The point count box: written by the switch point operations only.
    const TextField& pointCount() const { return pointCount_; }
    TextField& pointCount() { return pointCount_; }

    const std::string& fadeInLine() const { return fadeInLine_; }
    const std::string& fadeOutLine() const { return fadeOutLine_; }
    const std::string& currentPositionText() const { return currentPositionText_; }

    // Start of the edit: the switch list gets "00000000|A", the count "1".
    void initialise();

    // Asks the open dialog for a clip and appends it with start frame "0".
    // With 4 clips the message comes instead and the dialog is not shown.
    void addClip(FileDialog& openDialog, MessageSink& messages);
    // Asks the open dialog for one or more clips and appends them in the
    // order chosen, as far as there is room; then one offer to conform those
    // whose rate differs from angle A's (MixedRates.h).
    void addClips(FileDialog& openDialog, MessageSink& messages, RateMatching& matching);

    // Inserts a switch point for angle 'A'..'D' at the player's position.
    // B, C and D need at least 2, 3 and 4 clips; otherwise nothing happens.
    void addSwitchPoint(char angle, PlayerControl& player);

    void removeSwitchPoint(int selectedRow);
    void removeClip(int selectedRow);
    // The same; when angle A goes, the offer to conform the clips left whose
    // rate differs from the new angle A's.
    void removeClip(int selectedRow, RateMatching& matching);
    // Moves the player to the frame of the selected switch point.
    void selectSwitchPoint(int selectedRow, PlayerControl& player) const;

    void fadeInToggled(CheckValue value);
    void fadeOutToggled(CheckValue value);

    // Replaces the selected start frame with the text, verbatim.
    void setStartFrame(int selectedRow, std::string text);

    // Asks the dialog for a sound recording and makes it the edit's sound,
    // starting at 0 ms, in place of any recording before.
    void loadSoundRecording(FileDialog& dialog, MessageSink& messages);
    // Angle A's sound again.
    void removeSoundRecording();
    // The recording's start point; a text that is not a whole number of
    // milliseconds is refused with a message. False when nothing changed.
    bool setSoundStart(const std::string& milliseconds, MessageSink& messages);

    EditContent content() const;
    // Replaces the whole edit (an opened or restored edit): each list row by
    // row through its own operations, so its view follows; the point count
    // follows the switch list; the current position text is cleared.
    // Throws std::invalid_argument, changing nothing, for content no edit
    // can hold: more than 4 clips, a start frame per clip missing, switch
    // points out of switch list order. The change is heard as `name`.
    void replace(const EditContent& content, std::string name = "open edit");

    // Hears every change of the edit's content (clips, start frames, switch
    // points, overlap, fade lines) once the change is made, whichever
    // operation made it: the lists and the overlap tell the edit of each of
    // their changes. An operation that changes several rows is heard once, at
    // its end; one that asks a question between its changes (conforming a
    // clip's rate) is heard before the question and again after it.
    void setChangeListener(std::function<void()> listener) { changeListener_ = std::move(listener); }
    // The change the listener hears.
    const EditChange& lastChange() const { return lastChange_; }
    // Sets the start frames from what matching the clips by their sound
    // found (see SoundStartFrames.h) and shows the one message about it.
    // matchedClips are the clips that were matched: when the clip list no
    // longer holds exactly those, nothing changes and a message says so.
    void setStartFramesFromSound(const std::vector<std::string>& matchedClips, double fpsA,
                                 const std::vector<SoundMatchFound>& found, double sure, MessageSink& messages);
    // The same against the edit's sound recording (SoundStartFrames.h): the
    // start frames of all angles and the recording's start point. When the
    // clips or the recording changed meanwhile, nothing changes.
    void setStartFramesFromRecording(const std::vector<std::string>& matchedClips, const std::string& recording,
                                     std::int64_t startMs, const std::vector<SoundMatchFound>& found, double sure,
                                     MessageSink& messages);
    // After matching: offers to keep in step the sure angles whose clocks
    // drift against the reference (DriftingClocks.h); found[i] is the angle
    // at row firstRow + i.
    void offerToKeepInStep(const std::vector<SoundMatchFound>& found, int firstRow, double sure, FrameRate angleA,
                           const std::string& reference, RateMatching& matching);

private:
    // Holds the change listener back until the outermost group ends, then
    // tells it once if anything changed meanwhile.
    // Names the changes made while it lives; the outermost one names them.
    class Operation {
    public:
        Operation(Edit& edit, std::string name, bool continuous = false);
        ~Operation() { --edit_.operationDepth_; }
        Operation(const Operation&) = delete;
        Operation& operator=(const Operation&) = delete;

    private:
        Edit& edit_;
    };

    class ChangeGroup {
    public:
        explicit ChangeGroup(Edit& edit) : edit_(edit) { ++edit_.changeGroupDepth_; }
        ~ChangeGroup();
        ChangeGroup(const ChangeGroup&) = delete;
        ChangeGroup& operator=(const ChangeGroup&) = delete;

    private:
        Edit& edit_;
    };

    static bool isUsableInScript(const std::string& path);
    void showSwitchPointCount();
    void changed();

    StringList clips_{[this] { changed(); }};
    StringList startFrames_{[this] { changed(); }};
    StringList switchPoints_{[this] { changed(); }};
    StringList soundRecording_{[this] { changed(); }};
    StringList soundStart_{[this] { changed(); }};
    TextField overlap_;
    TextField pointCount_;
    std::string fadeInLine_;
    std::string fadeOutLine_;
    std::string currentPositionText_;
    std::function<void()> changeListener_;
    int changeGroupDepth_ = 0;
    bool changePending_ = false;
    int operationDepth_ = 0;
    EditChange lastChange_;
};

}  // namespace vistrel::model
