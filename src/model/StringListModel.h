#pragma once

#include "model/StringList.h"

#include <QAbstractListModel>

#include <functional>
#include <string>

namespace vistrel::model {

// A read-only Qt list model over a StringList: the list view shows the very
// entries the edit holds (or what `shown` makes of each), and follows every
// change through the list's observer. Outliving the list is safe; the model
// is then empty.
class StringListModel : public QAbstractListModel, private StringListObserver {
    Q_OBJECT
public:
    using Shown = std::function<QString(const std::string&)>;

    // toolTip: what an entry's tool tip says; none when empty.
    explicit StringListModel(const StringList& list, QObject* parent = nullptr, Shown shown = {}, Shown toolTip = {});
    ~StringListModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    void aboutToInsert(int row) override;
    void inserted(int row) override;
    void aboutToRemove(int row) override;
    void removed(int row) override;
    void replaced(int row) override;
    void listDestroyed() override;

    const StringList* list_;
    Shown shown_;
    Shown toolTip_;
};

}  // namespace vistrel::model
