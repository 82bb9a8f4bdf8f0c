#include "model/EditFile.h"

#include "model/EditScriptReader.h"
#include "model/Messages.h"
#include "model/ScriptFile.h"
#include "model/ScriptOperations.h"
#include "model/Scripts.h"
#include "model/SwitchPoint.h"

#include <algorithm>
#include <stdexcept>

namespace vistrel::model {
namespace {

bool beyondStartState(const Edit& edit) {
    const auto& starts = edit.startFrames().entries();
    return edit.switchPoints().entries() != std::vector<std::string>{kStartSwitchPoint} ||
           !edit.soundRecording().isEmpty() ||
           std::any_of(starts.begin(), starts.end(), [](const std::string& s) { return s != "0"; });
}

}  // namespace

EditFile::EditFile(Edit& edit, FileDialog& openDialog, FileDialog& saveDialog, QuestionBox& questions,
                   MessageSink& messages)
    : edit_(edit), openDialog_(openDialog), saveDialog_(saveDialog), questions_(questions), messages_(messages) {}

bool EditFile::build() {
    if (!path_.empty()) saveDialog_.startAt(path_);
    const auto saved = buildEditScript(edit_, saveDialog_, messages_);
    if (!saved) return false;
    path_ = *saved;
    savedScript_ = editScriptText(edit_);
    return true;
}

// The restored edit counts as saved only when its file still holds it as it is.
void EditFile::restored(const std::string& path) {
    path_ = path;
    savedScript_.reset();
    if (path.empty()) return;
    try {
        if (const std::string text = readScriptFile(path); text == editScriptText(edit_)) savedScript_ = text;
    } catch (const std::runtime_error&) {
        // gone or unreadable: the restored work is in no file
    }
}

bool EditFile::open(FileDialog& dialog) {
    const auto path = dialog.choose();
    if (!path || path->empty()) return false;
    // Settled before the file is read: the work may be saved over that very file.
    if (!settleUnsavedWork(questions::kSaveBeforeOpening)) return false;
    EditContent content;
    try {
        content = readEditScript(readScriptFile(*path));
    } catch (const std::runtime_error& failure) {
        messages_.showMessage(messages::kEditNotOpenedPrefix + *path + ": " + failure.what());
        return false;
    }
    edit_.replace(content);
    path_ = *path;
    savedScript_ = editScriptText(edit_);
    return true;
}

bool EditFile::mayClose() { return settleUnsavedWork(questions::kSaveBeforeClosing); }

bool EditFile::holdsUnsavedWork() const { return beyondStartState(edit_) && savedScript_ != editScriptText(edit_); }

bool EditFile::settleUnsavedWork(const Question& question) {
    if (!holdsUnsavedWork()) return true;
    switch (questions_.ask(question)) {
    case questions::save: return build();
    case questions::discard: return true;
    default: return false;
    }
}

}  // namespace vistrel::model
