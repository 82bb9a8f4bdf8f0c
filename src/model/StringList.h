#pragma once
// The edit's lists (clips, start frames, switch points): text entries, each
// list telling whoever shows it of every change, row by row.

#include <functional>
#include <string>
#include <vector>

namespace vistrel::model {

// Told about every change of a StringList, before and after it happens, so
// that a view over the same entries (a Qt item model) can follow row by row.
class StringListObserver {
public:
    virtual ~StringListObserver() = default;

    virtual void aboutToInsert(int row) = 0;
    virtual void inserted(int row) = 0;
    virtual void aboutToRemove(int row) = 0;
    virtual void removed(int row) = 0;
    virtual void replaced(int row) = 0;
    // The list is being destroyed; it must not be used any more.
    virtual void listDestroyed() = 0;
};

// An ordered list of text entries, the way the edit holds its clip,
// start-frame and switch lists. Rows count from 0. At most one observer
// (the list's view) is told about every insertion, removal and replacement;
// the owner of the list (the edit) may hear of every change as well, once
// it is made. Not copyable: the edit exists once, and its views watch that
// one copy.
class StringList {
public:
    explicit StringList(std::function<void()> ownerHears = {}) : ownerHears_(std::move(ownerHears)) {}
    ~StringList();
    StringList(const StringList&) = delete;
    StringList& operator=(const StringList&) = delete;

    int count() const { return static_cast<int>(entries_.size()); }
    bool isEmpty() const { return entries_.empty(); }
    bool hasRow(int row) const { return row >= 0 && row < count(); }
    const std::vector<std::string>& entries() const { return entries_; }

    // The entry at a row; the empty text for a row outside the list, which
    // the script writers rely on when they look one entry past the last.
    const std::string& entry(int row) const;

    void append(std::string text);
    // Inserts before the entry at row; row == count() appends.
    void insert(int row, std::string text);
    void remove(int row);
    void replace(int row, std::string text);

    // The observer is attached to a const list: watching changes nothing.
    // Throws std::logic_error when another observer is attached already.
    void attach(StringListObserver& observer) const;
    void detach(const StringListObserver& observer) const;

private:
    void requireRow(int row, int rowCount, const char* operation) const;

    std::vector<std::string> entries_;
    mutable StringListObserver* observer_ = nullptr;
    std::function<void()> ownerHears_;
};

}  // namespace vistrel::model
