#include "ui/MainMenu.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <utility>

namespace vistrel::ui {

MainMenu createMainMenu(QWidget& window) {
    MainMenu menu;
    menu.bar = new QMenuBar(&window);
    menu.bar->setObjectName(QStringLiteral("menuBar"));
    menu.bar->setNativeMenuBar(false);  // above the client area on every platform
    menu.file = menu.bar->addMenu(QObject::tr("&File"));
    menu.edit = menu.bar->addMenu(QObject::tr("&Edit"));
    menu.play = menu.bar->addMenu(QObject::tr("&Play"));
    menu.help = menu.bar->addMenu(QObject::tr("&Help"));
    return menu;
}

QAction* addEntry(QMenu& menu, const QString& text, const QKeySequence& key, std::function<void()> command) {
    QAction* action = menu.addAction(text);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, &menu, [command = std::move(command)] { command(); });
    return action;
}

QAction* addButtonEntry(QMenu& menu, const QString& text, const QKeySequence& key, QAbstractButton& button) {
    return addEntry(menu, text, key, [&button] { button.click(); });
}

QAction* addWindowKey(QWidget& window, const QString& text, const QKeySequence& key, QAbstractButton& button) {
    auto* action = new QAction(text, &window);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, &button, &QAbstractButton::click);
    window.addAction(action);
    return action;
}

void hideEmptyMenus(const MainMenu& menu) {
    for (QMenu* each : {menu.file, menu.edit, menu.play, menu.help})
        each->menuAction()->setVisible(!each->actions().isEmpty());
}

}  // namespace vistrel::ui
