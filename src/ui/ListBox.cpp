#include "ui/ListBox.h"

#include <QFontMetrics>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include <algorithm>

namespace vistrel::ui {
namespace {

// Draws each entry as elidedPath shortens it to the row's width.
class PathDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        constexpr int kTextMargins = 8;
        QStyledItemDelegate::initStyleOption(option, index);
        option->text = elidedPath(option->text, option->fontMetrics, option->rect.width() - kTextMargins);
    }
};

}  // namespace

QString elidedPath(const QString& path, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(path) <= width) return path;
    const qsizetype separator = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
    const QString name = path.mid(separator);  // with its separator
    const int nameWidth = metrics.horizontalAdvance(name);
    if (separator < 0 || nameWidth >= width) return metrics.elidedText(name, Qt::ElideMiddle, width);
    return metrics.elidedText(path.left(separator), Qt::ElideMiddle, width - nameWidth) + name;
}

void ListBox::showPaths() { setItemDelegate(new PathDelegate(this)); }

ListBox::ListBox(QWidget* parent) : QListView(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

int ListBox::selectedRow() const {
    if (!selectionModel()) return -1;
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

// Only the left button selects, as in a list box; the right one does nothing.
void ListBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QListView::mousePressEvent(event);
    if (indexAt(event->position().toPoint()).isValid()) emit userSelected();
}

void ListBox::mouseMoveEvent(QMouseEvent* event) {
    const int before = selectedRow();
    QListView::mouseMoveEvent(event);
    reportSelectionChange(before);
}

// The first click of the pair has selected already; the second one only
// reports the double-click (Qt would otherwise treat it as another press).
void ListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton) emit userDoubleClicked();
}

void ListBox::keyPressEvent(QKeyEvent* event) {
    const int before = selectedRow();
    QListView::keyPressEvent(event);
    reportSelectionChange(before);
}

// Qt moves the current row off the removed ones and, in single selection,
// selects where it lands. A list box only keeps the entry the user picked:
// at its new row when it stays, nothing when it goes or when none was picked.
void ListBox::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
    const QPersistentModelIndex picked =
        selectedRow() >= 0 ? selectionModel()->selectedIndexes().first() : QModelIndex();
    QListView::rowsAboutToBeRemoved(parent, start, end);
    const bool pickedStays = picked.isValid() && (picked.row() < start || picked.row() > end);
    if (pickedStays)
        selectionModel()->select(picked, QItemSelectionModel::ClearAndSelect);
    else
        selectionModel()->clearSelection();
}

void ListBox::reportSelectionChange(int rowBefore) {
    const int after = selectedRow();
    if (after >= 0 && after != rowBefore) emit userSelected();
}

}  // namespace vistrel::ui
