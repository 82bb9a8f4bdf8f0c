#pragma once
// The Help menu's two windows: every key of the main window, and what
// Vistrel is built on.

#include <QList>
#include <QString>

class QWidget;

namespace vistrel::ui {

struct MainMenu;

struct KeyRow {
    QString key;
    QString action;
};

// Every key the main window answers, from the actions themselves so that
// the list stays true: the menu entries with a key in menu order, the
// window's own keys, then the player's keys (which work while it has the
// focus).
QList<KeyRow> keyboardShortcuts(const QWidget& window, const MainMenu& menu);

// A modal dialog titled "Keyboard shortcuts" with the list.
void showKeyboardShortcuts(QWidget& window, const MainMenu& menu);

// A modal box titled "About Vistrel": the version and the libraries used
// with their licences.
void showAbout(QWidget& window);

}  // namespace vistrel::ui
