#pragma once

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

}  // namespace vistrel::model
