// vistrel: the editor. One main window, with the files given on the command
// line opened in it, and vistrel-render beside it for the preview proxies it
// builds in the background. (VISTREL_TEST_DRIVE lets tests work it through
// standard input.)
#include "cli/CommandLine.h"
#include "player/ClipOpener.h"
#include "ui/EditorCommandLine.h"
#include "ui/MainWindow.h"
#include "ui/TestDrive.h"
#include "ui/WindowLook.h"

#include <QApplication>

namespace {

// --help and --version are answered before the QApplication, which needs a display.
bool answeredWithoutWindow(int argc, char** argv) {
    QCoreApplication commandLine(argc, argv);
    const auto parsed = vistrel::ui::parseEditorArguments(QCoreApplication::arguments());
    const auto* usage = std::get_if<vistrel::cli::UsageError>(&parsed);
    if (!usage || !usage->message.empty()) return false;  // a usage error waits for Qt's options to go
    vistrel::cli::answerUsage("vistrel", *usage);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    vistrel::player::limitHeapArenas();
    if (answeredWithoutWindow(argc, argv)) return 0;

    QApplication app(argc, argv);
    // Without Qt's own options (-platform, -style), which the QApplication took.
    const auto parsed = vistrel::ui::parseEditorArguments(QApplication::arguments());
    if (const auto* usage = std::get_if<vistrel::cli::UsageError>(&parsed))
        return vistrel::cli::answerUsage("vistrel", *usage);
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
