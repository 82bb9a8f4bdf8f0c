// vistrel: the editor. No command line, no settings: one main window, and
// vistrel-render beside it for the preview proxies it builds in the background.
// (VISTREL_TEST_DRIVE lets tests work it through standard input.)
#include "player/ClipOpener.h"
#include "ui/MainWindow.h"
#include "ui/TestDrive.h"
#include "ui/WindowLook.h"

#include <QApplication>

int main(int argc, char** argv) {
    vistrel::player::limitHeapArenas();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vistrel"));
    QApplication::setDesktopFileName(QStringLiteral("vistrel"));
    QApplication::setWindowIcon(vistrel::ui::vistrelIcon());

    const auto testDrive = vistrel::ui::TestDrive::fromEnvironment();
    vistrel::ui::MainWindowSetup setup;
    // A test driving the program leaves the shared cache folder as it was.
    setup.buildPreviewProxies = !testDrive;
    vistrel::ui::MainWindow window(std::move(setup));
    if (testDrive) testDrive->setWindow(window);
    window.show();
    return QApplication::exec();
}
