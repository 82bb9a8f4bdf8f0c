// vistrel-soak [SECONDS]: a long editing session through the model and the
// main window, then the preview played offscreen for SECONDS (600 by
// default) with a seek every second. Prints figures; exits 1 on a fault.
#include "player/ClipOpener.h"
#include "soak/PreviewSession.h"
#include "soak/SwitchPointSession.h"
#include "soak/WindowSession.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    vistrel::player::limitHeapArenas();  // as the editor does
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 600;

    // The preview runs before the window session so that its memory figures
    // are its own.
    const bool modelHeld = vistrel::soak::runSwitchPointSession(10000);
    const bool previewHeld = vistrel::soak::runPreviewSession(seconds);
    const bool windowHeld = vistrel::soak::runWindowSession(10000);
    const bool passed = modelHeld && previewHeld && windowHeld;
    std::printf("soak: %s\n", passed ? "passed" : "FAILED");
    return passed ? 0 : 1;
}
