#pragma once

namespace vistrel::model::messages {

inline constexpr const char* messageBoxTitle = "Vistrel";

inline constexpr const char* tooManyAngles = "This version only allows 4 angles.";
inline constexpr const char* unusableClipName =
    "This file name cannot be used in a script: it contains a double quote or a line break.";
inline constexpr const char* tooFewSwitchPoints = "please add more crossfade points to save the script";
inline constexpr const char* scriptSaved = "The AviSynth script has been saved.";
inline constexpr const char* scriptNotSavedPrefix = "The script could not be saved: ";
inline constexpr const char* tooFewClipsForPreview = "Please have at least 2 clips in the file list before editing.";
inline constexpr const char* previewNotWrittenPrefix = "The preview script could not be written: ";
inline constexpr const char* editPreviewNotWrittenPrefix = "The edit preview could not be written: ";
inline constexpr const char* renderScriptNotWrittenPrefix = "The script to render could not be written: ";
inline constexpr const char* videoRenderedPrefix = "The video has been rendered: ";
inline constexpr const char* editNotOpenedPrefix = "The edit could not be opened: ";
inline constexpr const char* keptEditUnreadablePrefix = "The edit kept from the last run could not be restored: ";
inline constexpr const char* editNotKeptPrefix = "The edit cannot be kept while you work: ";
inline constexpr const char* tooFewClipsForSoundMatch =
    "Please have at least 2 clips in the file list before matching their start frames by sound.";
inline constexpr const char* soundMatchFailedPrefix = "The start frames could not be matched by sound: ";
inline constexpr const char* clipsChangedDuringSoundMatch =
    "The clip list changed while the sound was being matched; no start frame was changed.";

}  // namespace vistrel::model::messages
