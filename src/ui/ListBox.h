#pragma once
// A list box as the windows use it: one column of text, at most one selected
// entry, nothing editable in place.
//
// It reports only what the user does. A click on an entry, a key that moves
// the selection to another entry, or a drag with the button held that does,
// is `userSelected`; a double-click anywhere on the list is
// `userDoubleClicked` (it follows the userSelected of its first click). Rows that the edit inserts or removes report
// nothing, even when Qt moves the current row because of them.
//
// Removing entries never selects one, as in a list box (Qt selects where the
// current row lands): the selection stays on the entry the user picked, or
// on none, so that a double-click or the start-point dialog's "OK" cannot
// act on an entry the user never picked.

#include <QListView>

class QFontMetrics;

namespace vistrel::ui {

// A path shortened to a width so that the file's name still shows: the
// middle of its folders gives way first ("/tmp/fo…/camera-b.mp4"), then
// the middle of the name.
QString elidedPath(const QString& path, const QFontMetrics& metrics, int width);

class ListBox : public QListView {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);

    // The selected row, -1 when no entry is selected.
    int selectedRow() const;
    // The entries are paths: each is drawn shortened to fit (elidedPath).
    void showPaths();

signals:
    void userSelected();
    void userDoubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;

private:
    void reportSelectionChange(int rowBefore);
};

}  // namespace vistrel::ui
