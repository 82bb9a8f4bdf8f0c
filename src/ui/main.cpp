// vistrel: the editor. No command line, no settings: one main window, and
// vistrel-render beside it for the preview proxies it builds in the background.
#include <QApplication>

#include "ui/MainWindow.h"
#include "ui/WindowIcon.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vistrel"));
    QApplication::setDesktopFileName(QStringLiteral("vistrel"));
    QApplication::setWindowIcon(vistrel::ui::vistrelIcon());

    vistrel::ui::MainWindowSetup setup;
    setup.proxyBuilder = QCoreApplication::applicationDirPath() + QStringLiteral("/vistrel-render");
    vistrel::ui::MainWindow window(std::move(setup));
    window.show();
    return QApplication::exec();
}
