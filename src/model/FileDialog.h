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

// How the window sets up its two dialogs. The filter is written as
// "description|pattern"; patterns are separated by ";".
struct FileDialogSetup {
    std::string_view title;
    std::string_view filter;
    std::string_view defaultSuffix;
};

inline constexpr FileDialogSetup openClipDialogSetup{"open avi", "AVI/AVS files|*.avi;*.avs", "avi"};
inline constexpr FileDialogSetup saveScriptDialogSetup{"save AVS", "AVISynth script|*.avs", "avs"};
inline constexpr FileDialogSetup renderVideoDialogSetup{
    "render video", "MP4 video (H.264, AAC)|*.mp4|Matroska, lossless (FFV1)|*.mkv|QuickTime (H.264)|*.mov", "mp4"};

}  // namespace vistrel::model
