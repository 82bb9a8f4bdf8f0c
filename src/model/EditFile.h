#pragma once

#include "model/Edit.h"
#include "model/Ports.h"

#include <optional>
#include <string>

namespace vistrel::model {

// The edit script as the edit's own file: "build script" saves it, "Open
// edit…" reads one back, and closing asks before work that no saved script
// holds is lost. Remembers the script last saved or opened to tell.
class EditFile {
public:
    EditFile(Edit& edit, FileDialog& openDialog, FileDialog& saveDialog, QuestionBox& questions, MessageSink& messages);

    // "build script"; true when the script was saved. The save dialog starts
    // with the edit's file when it has one.
    bool build();

    // The edit's file: the script last saved or opened, or the one a
    // restored edit came from; empty for an edit never saved.
    const std::string& path() const { return path_; }
    // A kept edit was restored: it came from path (or none); it counts as
    // saved when that file holds it as it is.
    void restored(const std::string& path);

    // "Open edit…": asks for an edit script; with unsaved work, asks whether
    // to save it, and only then reads the script (the work may have been
    // saved over it). One that cannot be read is refused with a message
    // naming the line and the edit stays as it is. True when the edit was
    // replaced by the script's.
    bool open() { return open(openDialog_); }
    // The same with the script from another dialog (GivenFiles.h).
    bool open(FileDialog& dialog);

    // Closing: with unsaved work asks "Save the edit before closing?"; Save
    // closes only once the script is saved, Cancel keeps the window. True
    // when the window may close.
    bool mayClose();

    // Switch points, start frames or a sound recording beyond the start state that the script
    // last saved or opened does not hold as they are.
    bool holdsUnsavedWork() const;

private:
    bool settleUnsavedWork(const Question& question);

    Edit& edit_;
    FileDialog& openDialog_;
    FileDialog& saveDialog_;
    QuestionBox& questions_;
    MessageSink& messages_;
    std::optional<std::string> savedScript_;
    std::string path_;
};

}  // namespace vistrel::model
