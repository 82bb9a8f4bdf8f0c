#include "cli/CommandLine.h"

#include <QtGlobal>

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace vistrel::cli {

namespace {

// Qt's own notes (no runtime folder, font fallbacks) mean nothing to someone
// running a command; VISTREL_DEBUG=1 shows them.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg || type == QtCriticalMsg || qEnvironmentVariableIsSet("VISTREL_DEBUG"))
        std::cerr << message.toStdString() << '\n';
}

}  // namespace

void prepareQtForCommand() {
    qInstallMessageHandler(quietQtMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

int answerUsage(const char* program, const UsageError& usage) {
    if (usage.message.empty()) {
        std::cout << usage.helpText;
        return 0;
    }
    std::cerr << program << ": " << usage.message << "\n\n" << usage.helpText;
    return kUsageError;
}

bool stderrIsTerminal() { return isatty(fileno(stderr)); }

}  // namespace vistrel::cli
