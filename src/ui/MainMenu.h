#pragma once
// The menu bar above the main window's client area: every command of the
// window with its key. An entry that does what a button does presses that
// button, so the two can never run different code.

#include <QKeySequence>
#include <QString>

#include <functional>

class QAbstractButton;
class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace vistrel::ui {

struct MainMenu {
    QMenuBar* bar = nullptr;
    QMenu* file = nullptr;
    QMenu* edit = nullptr;
    QMenu* play = nullptr;
    QMenu* help = nullptr;
};

// The bar and its four menus, empty, as a child of window.
MainMenu createMainMenu(QWidget& window);

// An entry that runs command; its key works wherever the focus is in the window.
QAction* addEntry(QMenu& menu, const QString& text, const QKeySequence& key, std::function<void()> command);
// An entry that presses button.
QAction* addButtonEntry(QMenu& menu, const QString& text, const QKeySequence& key, QAbstractButton& button);

// A key of the window with no menu entry: the action belongs to the window,
// which lists it with the menu's keys.
QAction* addWindowKey(QWidget& window, const QString& text, const QKeySequence& key, QAbstractButton& button);

// A menu with no entries is not shown in the bar.
void hideEmptyMenus(const MainMenu& menu);

}  // namespace vistrel::ui
