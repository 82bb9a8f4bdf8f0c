#pragma once
// Undo and redo over every change of the edit's content, kept as the edit's
// content before and after each operation (EditContent), put back whole
// with Edit::replace: no operation needs an inverse of its own.
//
// The history hears the edit's changes (the window calls `heard` from the
// edit's change listener). The changes of one operation make one step (a
// clip added, then conformed after a question); a run of typing in the
// overlap box makes one step too. A new change after an undo drops what
// could be redone. At most kMostSteps are kept, the oldest dropped first.

#include "model/Edit.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

namespace vistrel::model {

class EditHistory {
public:
    static constexpr std::size_t kMostSteps = 500;

    // Starts from the edit's content now: nothing to undo.
    explicit EditHistory(Edit& edit);

    void heard();

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    // The operation an undo or redo takes back or does again ("remove clip B").
    const std::string& undoName() const;
    const std::string& redoName() const;
    void undo();
    void redo();

private:
    struct Step {
        std::string name;
        std::uint64_t operation = 0;
        bool continuous = false;
        EditContent content;  // before the step on the undo side, after it on the redo side
    };

    void apply(std::deque<Step>& from, std::deque<Step>& to);

    Edit& edit_;
    EditContent current_;
    std::deque<Step> undo_;
    std::deque<Step> redo_;
    bool applying_ = false;
};

}  // namespace vistrel::model
