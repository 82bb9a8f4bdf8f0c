#include "model/EditHistory.h"

namespace vistrel::model {
namespace {
const std::string kNothing;
}

EditHistory::EditHistory(Edit& edit) : edit_(edit), current_(edit.content()) {}

void EditHistory::heard() {
    if (applying_) return;
    EditContent now = edit_.content();
    if (now == current_) return;
    const EditChange& change = edit_.lastChange();
    const bool sameStep = !undo_.empty() && redo_.empty() &&
                          (undo_.back().operation == change.operation ||
                           (change.continuous && undo_.back().continuous && undo_.back().name == change.name));
    if (!sameStep) {
        undo_.push_back({change.name, change.operation, change.continuous, std::move(current_)});
        if (undo_.size() > kMostSteps) undo_.pop_front();
    }
    undo_.back().operation = change.operation;
    redo_.clear();
    current_ = std::move(now);
}

const std::string& EditHistory::undoName() const { return undo_.empty() ? kNothing : undo_.back().name; }
const std::string& EditHistory::redoName() const { return redo_.empty() ? kNothing : redo_.back().name; }

void EditHistory::undo() { apply(undo_, redo_); }
void EditHistory::redo() { apply(redo_, undo_); }

// Puts the content of the last step of `from` into the edit; the content it
// replaces goes to `to` under the same name.
void EditHistory::apply(std::deque<Step>& from, std::deque<Step>& to) {
    if (from.empty()) return;
    Step step = std::move(from.back());
    from.pop_back();
    applying_ = true;
    try {
        edit_.replace(step.content, step.name);
    } catch (...) {
        applying_ = false;
        throw;
    }
    applying_ = false;
    to.push_back({step.name, 0, false, std::move(current_)});
    current_ = std::move(step.content);
}

}  // namespace vistrel::model
