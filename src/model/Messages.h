#pragma once
// What the user reads: every message and question of the edit's operations,
// word for word.

#include "model/Ports.h"

#include <string>

namespace vistrel::model {

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
