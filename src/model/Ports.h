#pragma once
// What the edit's operations need from outside, each a small interface the
// window implements and the tests fake: the message box, the clip player, the
// file dialogs and the questions; and the texts they show.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vistrel::model {

// Shows a message to the user and returns when it has been acknowledged
// (in the window: a modal box titled kMessageBoxTitle with one OK button).
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const std::string& text) = 0;
};

// What the edit needs of a clip player: open a file, play, stop, and the
// player's text commands ("status position" answers the frame shown as
// decimal digits, "seek to N" moves to frame N). The window adapts its
// player widget to this; tests pass a recording fake.
class PlayerControl {
public:
    virtual ~PlayerControl() = default;

    virtual void filename(const std::string& path) = 0;
    virtual void play() = 0;
    virtual void stop() = 0;
    virtual std::string sendcommand(const std::string& command) = 0;
};

inline constexpr const char* kStatusPositionCommand = "status position";
inline constexpr const char* kSeekToCommandPrefix = "seek to ";

// A modal file dialog as an operation sees it: the chosen path, or nothing
// when the user cancelled. A dialog that still shows the name of an earlier
// choice must still answer nothing on cancel.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    virtual std::optional<std::string> choose() = 0;
    // For a dialog that lets several files be chosen at once: in the order
    // chosen; none when the user cancelled.
    virtual std::vector<std::string> chooseSeveral() {
        const auto one = choose();
        return one ? std::vector<std::string>{*one} : std::vector<std::string>{};
    }
    // The next use starts with this file chosen, in its folder.
    virtual void startAt(const std::string& path) { (void)path; }
};

// How the window sets up its dialogs. The filter is written as
// "description|pattern"; patterns are separated by ";".
struct FileDialogSetup {
    std::string_view title;
    std::string_view filter;
    std::string_view defaultSuffix;
};

// The open dialog offers "AVI/AVS files" first (the default), then every
// container FFMS2 opens that cameras and phones write, then all files.
// Patterns match without regard to case (CLIP0001.MTS).
inline constexpr FileDialogSetup kOpenClipDialogSetup{
    "open avi",
    "AVI/AVS files|*.avi;*.avs"
    "|Video files|*.mp4;*.m4v;*.mov;*.mts;*.m2ts;*.ts;*.mkv;*.webm;*.mpg;*.mpeg;*.vob;*.mxf;*.3gp;*.dv;*.avi;*.avs"
    "|All files|*",
    "avi"};
inline constexpr FileDialogSetup kOpenSoundRecordingDialogSetup{
    "open sound recording",
    "Sound recordings|*.wav;*.flac;*.mp3;*.aac;*.m4a;*.ogg;*.opus;*.wma"
    "|Video files (for their sound)|*.mp4;*.m4v;*.mov;*.mts;*.m2ts;*.ts;*.mkv;*.webm;*.mpg;*.mpeg;*.avi"
    "|All files|*",
    "wav"};
inline constexpr FileDialogSetup kSaveScriptDialogSetup{"save AVS", "AVISynth script|*.avs", "avs"};
inline constexpr FileDialogSetup kRenderVideoDialogSetup{
    "render video", "MP4 video (H.264, AAC)|*.mp4|Matroska, lossless (FFV1)|*.mkv|QuickTime (H.264)|*.mov", "mp4"};
inline constexpr FileDialogSetup kOpenEditDialogSetup{"open edit", "AVISynth script|*.avs", "avs"};

// A question with two or three answers, asked modally (in the window: a box
// titled "Vistrel" with one button per answer, left to right).
struct Question {
    std::string text;
    std::vector<std::string> answers;
    int defaultAnswer = 0;
    // The answer that Escape gives; -1 when Escape gives none.
    int escapeAnswer = -1;
};

// Asks a question and returns the row of the answer chosen. A box closed
// without a choice answers its escape answer, or else its default one.
class QuestionBox {
public:
    virtual ~QuestionBox() = default;
    virtual int ask(const Question& question) = 0;
};

namespace questions {

enum SaveAnswer { save = 0, discard = 1, cancel = 2 };
enum RestoreAnswer { restore = 0, discardKept = 1 };
enum YesNoAnswer { yes = 0, no = 1 };

inline const Question kSaveBeforeClosing{"Save the edit before closing?", {"Save", "Discard", "Cancel"}, save, cancel};
inline const Question kSaveBeforeOpening{
    "Save the edit before opening another?", {"Save", "Discard", "Cancel"}, save, cancel};
inline const Question kRestoreKeptEdit{
    "Vistrel did not close normally. Restore the edit you were working on?", {"Restore", "Discard"}, restore, -1};

inline Question conformQuestion(std::string text) { return {std::move(text), {"Yes", "No"}, yes, no}; }

}  // namespace questions

}  // namespace vistrel::model

namespace vistrel::model::messages {

inline constexpr const char* kMessageBoxTitle = "Vistrel";

inline constexpr const char* kTooManyAngles = "This version only allows 4 angles.";
inline constexpr const char* kUnusableClipName =
    "This file name cannot be used in a script: it contains a double quote or a line break.";
inline constexpr const char* kTooFewSwitchPoints = "please add more crossfade points to save the script";
inline constexpr const char* kScriptSaved = "The AviSynth script has been saved.";
inline constexpr const char* kScriptNotSavedPrefix = "The script could not be saved: ";
inline constexpr const char* kTooFewClipsForPreview = "Please have at least 2 clips in the file list before editing.";
inline constexpr const char* kPreviewNotWrittenPrefix = "The preview script could not be written: ";
inline constexpr const char* kEditPreviewNotWrittenPrefix = "The edit preview could not be written: ";
inline constexpr const char* kRenderScriptNotWrittenPrefix = "The script to render could not be written: ";
inline constexpr const char* kVideoRenderedPrefix = "The video has been rendered: ";
inline constexpr const char* kEditNotOpenedPrefix = "The edit could not be opened: ";
inline constexpr const char* kNoSuchFilePrefix = "There is no file ";
inline constexpr const char* kKeptEditUnreadablePrefix = "The edit kept from the last run could not be restored: ";
inline constexpr const char* kEditNotKeptPrefix = "The edit cannot be kept while you work: ";
inline constexpr const char* kTooFewClipsForSoundMatch =
    "Please have at least 2 clips in the file list before matching their start frames by sound.";
inline constexpr const char* kSoundMatchFailedPrefix = "The start frames could not be matched by sound: ";
inline constexpr const char* kSoundStartNotWhole =
    "The start point of a sound recording is a whole number of milliseconds, such as 1500 or -250.";
inline constexpr const char* kClipsChangedDuringSoundMatch =
    "The clip list changed while the sound was being matched; no start frame was changed.";

}  // namespace vistrel::model::messages
