// vistrel: the editor. One main window, with the files given on the command
// line opened in it, and vistrel-render beside it for the preview proxies it
// builds in the background. (VISTREL_TEST_DRIVE lets tests work it through
// standard input.)
#include <QApplication>

#include "cli/CommandLine.h"
#include "player/ClipOpener.h"
#include "ui/EditorCommandLine.h"
#include "ui/MainWindow.h"
#include "ui/TestDrive.h"
#include "ui/WindowLook.h"

namespace {

// Read before the QApplication, which needs a display: --help and --version do not.
auto readCommandLine(int argc, char** argv) {
    QCoreApplication commandLine(argc, argv);
    return vistrel::ui::parseEditorArguments(QCoreApplication::arguments());
}

}  // namespace

int main(int argc, char** argv) {
    vistrel::player::limitHeapArenas();
    const auto parsed = readCommandLine(argc, argv);
    if (const auto* usage = std::get_if<vistrel::cli::UsageError>(&parsed))
        return vistrel::cli::answerUsage("vistrel", *usage);

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
    // Once the window shows, so that any question about the files comes over it.
    window.openGivenFiles(std::get<std::vector<std::string>>(parsed));
    return QApplication::exec();
}
