#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vistrel::model {

// A modal file dialog as an operation sees it: the chosen path, or nothing
// when the user cancelled. A dialog that still shows the name of an earlier
// choice must still answer nothing on cancel.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    virtual std::optional<std::string> choose() = 0;
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
inline constexpr FileDialogSetup kSaveScriptDialogSetup{"save AVS", "AVISynth script|*.avs", "avs"};
inline constexpr FileDialogSetup kRenderVideoDialogSetup{
    "render video", "MP4 video (H.264, AAC)|*.mp4|Matroska, lossless (FFV1)|*.mkv|QuickTime (H.264)|*.mov", "mp4"};
inline constexpr FileDialogSetup kOpenEditDialogSetup{"open edit", "AVISynth script|*.avs", "avs"};

}  // namespace vistrel::model
