// vistrel: the editor. No command line, no settings: one main window.
#include <QApplication>

#include "ui/MainWindow.h"
#include "ui/WindowIcon.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vistrel"));
    QApplication::setDesktopFileName(QStringLiteral("vistrel"));
    QApplication::setWindowIcon(vistrel::ui::vistrelIcon());

    vistrel::ui::MainWindow window;
    window.show();
    return QApplication::exec();
}
