#pragma once
// Keeps the main window's edit in the state folder while Vistrel runs, and
// offers it back at the next start when a run ended without closing
// normally. A folder that cannot be used is reported once per run; the
// editor goes on without keeping.

#include "model/Edit.h"
#include "model/KeptEdit.h"
#include "model/Ports.h"

#include <memory>
#include <string>

namespace vistrel::ui {

class KeptEditWriter;

class EditKeeper {
public:
    EditKeeper(model::Edit& edit, std::string folder, model::QuestionBox& questions, model::MessageSink& messages);
    ~EditKeeper();

    // At start-up: takes the state folder. When it holds the edit of a run
    // that did not close normally, asks "Restore" or "Discard"; Restore
    // replaces the edit with it, Discard removes it. A kept edit that cannot
    // be read is reported and set aside. True when the edit was restored.
    bool offerRestore();
    // The file of the edit restored; "" when it had none.
    const std::string& restoredEditFile() const { return restoredEditFile_; }
    // The edit's own file changed (saved or opened under a name).
    void keepEditFile(const std::string& path);

    void editChanged();
    // A normal close: the kept edit is removed.
    void closedNormally();

private:
    void reportOnce(const std::string& reason);

    model::Edit& edit_;
    model::KeptEdit kept_;
    model::QuestionBox& questions_;
    model::MessageSink& messages_;
    bool reported_ = false;
    std::string restoredEditFile_;
    std::unique_ptr<KeptEditWriter> writer_;  // only while the folder is ours
};

}  // namespace vistrel::ui
