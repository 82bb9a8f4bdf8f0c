// vistrel: the editor. No command line, no settings: one main window.
// (VISTREL_TEST_DRIVE lets tests work it through standard input.)
#include <QApplication>

#include "ui/MainWindow.h"
#include "ui/TestDrive.h"
#include "ui/WindowIcon.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vistrel"));
    QApplication::setDesktopFileName(QStringLiteral("vistrel"));
    QApplication::setWindowIcon(vistrel::ui::vistrelIcon());

    const auto testDrive = vistrel::ui::TestDrive::fromEnvironment();
    vistrel::ui::MainWindow window;
    if (testDrive) testDrive->setWindow(window);
    window.show();
    return QApplication::exec();
}
