#include "ui/HelpWindows.h"

#include "cli/Version.h"
#include "player/PlayerWnd.h"
#include "ui/MainMenu.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vistrel::ui {
namespace {

// "&File" and "Load video clip…" as a reader sees them in the list.
QString plainText(QString text) {
    text.remove(QLatin1Char('&'));
    if (text.endsWith(QChar(0x2026))) text.chop(1);
    return text;
}

QString keyText(const QAction& action) { return action.shortcut().toString(QKeySequence::NativeText); }

void addMenuRows(QList<KeyRow>& rows, const QMenu& menu) {
    if (!menu.menuAction()->isVisible()) return;
    const QString title = plainText(menu.title());
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator() || !action->isVisible() || action->shortcut().isEmpty()) continue;
        rows.append({keyText(*action), title + QStringLiteral(" › ") + plainText(action->text())});
    }
}

QTableWidget* keyTable(const QList<KeyRow>& rows, QWidget* parent) {
    auto* table = new QTableWidget(static_cast<int>(rows.size()), 2, parent);
    table->setHorizontalHeaderLabels({QObject::tr("Key"), QObject::tr("Does")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
    table->setShowGrid(false);
    for (int row = 0; row < rows.size(); ++row) {
        table->setItem(row, 0, new QTableWidgetItem(rows[row].key));
        table->setItem(row, 1, new QTableWidgetItem(rows[row].action));
    }
    table->resizeColumnsToContents();
    return table;
}

QString aboutText() {
    QString text = QObject::tr(
                       "<h3>Vistrel %1</h3><p>Cuts a multi-angle video together and saves the edit as an "
                       "AviSynth script, or renders it.</p><p>Built on:</p><ul>")
                       .arg(QString::fromStdString(cli::vistrelVersion()));
    for (const auto& library : cli::builtOn())
        text += QStringLiteral("<li>%1 %2, %3</li>")
                    .arg(QString::fromStdString(library.name), QString::fromStdString(library.version),
                         QString::fromStdString(library.licence).toHtmlEscaped());
    return text + QStringLiteral("</ul>");
}

}  // namespace

QList<KeyRow> keyboardShortcuts(const QWidget& window, const MainMenu& menu) {
    QList<KeyRow> rows;
    for (const QMenu* each : {menu.file, menu.edit, menu.play, menu.help}) addMenuRows(rows, *each);
    for (const QAction* action : window.actions())
        if (!action->shortcut().isEmpty()) rows.append({keyText(*action), plainText(action->text())});
    for (const auto& key : player::PlayerWnd::keyHelp())
        rows.append({key.key, QObject::tr("Player › %1 (while the player has the focus)").arg(key.action)});
    return rows;
}

void showKeyboardShortcuts(QWidget& window, const MainMenu& menu) {
    QDialog dialog(&window);
    dialog.setWindowTitle(QObject::tr("Keyboard shortcuts"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(keyTable(keyboardShortcuts(window, menu), &dialog));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(560, 480);
    dialog.exec();
}

void showAbout(QWidget& window) {
    QMessageBox box(QMessageBox::NoIcon, QObject::tr("About Vistrel"), aboutText(), QMessageBox::Ok, &window);
    box.setTextFormat(Qt::RichText);
    box.setIconPixmap(window.windowIcon().pixmap(48, 48));
    box.exec();
}

}  // namespace vistrel::ui
