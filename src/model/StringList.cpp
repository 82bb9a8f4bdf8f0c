#include "model/StringList.h"

#include <stdexcept>

namespace vistrel::model {

namespace {
const std::string emptyEntry;
}

StringList::~StringList() {
    if (observer_) observer_->listDestroyed();
}

const std::string& StringList::entry(int row) const {
    return hasRow(row) ? entries_[static_cast<std::size_t>(row)] : emptyEntry;
}

void StringList::append(std::string text) { insert(count(), std::move(text)); }

void StringList::insert(int row, std::string text) {
    requireRow(row, count() + 1, "insert");
    if (observer_) observer_->aboutToInsert(row);
    entries_.insert(entries_.begin() + row, std::move(text));
    if (observer_) observer_->inserted(row);
    if (ownerHears_) ownerHears_();
}

void StringList::remove(int row) {
    requireRow(row, count(), "remove");
    if (observer_) observer_->aboutToRemove(row);
    entries_.erase(entries_.begin() + row);
    if (observer_) observer_->removed(row);
    if (ownerHears_) ownerHears_();
}

void StringList::replace(int row, std::string text) {
    requireRow(row, count(), "replace");
    entries_[static_cast<std::size_t>(row)] = std::move(text);
    if (observer_) observer_->replaced(row);
    if (ownerHears_) ownerHears_();
}

void StringList::attach(StringListObserver& observer) const {
    if (observer_ && observer_ != &observer) throw std::logic_error("StringList: another observer is attached already");
    observer_ = &observer;
}

void StringList::detach(const StringListObserver& observer) const {
    if (observer_ == &observer) observer_ = nullptr;
}

void StringList::requireRow(int row, int rowCount, const char* operation) const {
    if (row < 0 || row >= rowCount)
        throw std::out_of_range(std::string("StringList ") + operation + ": row " + std::to_string(row) +
                                " outside 0.." + std::to_string(rowCount - 1));
}

}  // namespace vistrel::model
