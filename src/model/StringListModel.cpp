#include "model/StringListModel.h"

namespace vistrel::model {

StringListModel::StringListModel(const StringList& list, QObject* parent, Shown shown, Shown toolTip)
    : QAbstractListModel(parent), list_(&list), shown_(std::move(shown)), toolTip_(std::move(toolTip)) {
    list_->attach(*this);
}

StringListModel::~StringListModel() {
    if (list_) list_->detach(*this);
}

int StringListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !list_) return 0;
    return list_->count();
}

QVariant StringListModel::data(const QModelIndex& index, int role) const {
    if (!list_ || !index.isValid() || index.column() != 0 || !list_->hasRow(index.row())) return {};
    const std::string& entry = list_->entry(index.row());
    if (role == Qt::ToolTipRole && toolTip_) return toolTip_(entry);
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    return shown_ ? shown_(entry) : QString::fromStdString(entry);
}

void StringListModel::aboutToInsert(int row) { beginInsertRows(QModelIndex(), row, row); }
void StringListModel::inserted(int) { endInsertRows(); }
void StringListModel::aboutToRemove(int row) { beginRemoveRows(QModelIndex(), row, row); }
void StringListModel::removed(int) { endRemoveRows(); }

void StringListModel::replaced(int row) {
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

void StringListModel::listDestroyed() {
    beginResetModel();
    list_ = nullptr;
    endResetModel();
}

}  // namespace vistrel::model
