// vistrel-sync: finds the angles' start frames from their sound. Exit status
// 0 when every angle was matched (however unsure), 1 for a clip that cannot
// be opened or has no sound (the message on stderr), 2 for a usage error.

#include "cli/ProgressBar.h"
#include "cli/SyncOptions.h"
#include "cli/SyncReport.h"
#include "sync/StartFrameMatch.h"

#include <QGuiApplication>

#include <cstdio>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

using namespace vistrel;

namespace {

constexpr int kUsageError = 2;
constexpr int kMatchError = 1;

int run(const cli::SyncOptions& options) {
    cli::ProgressBar progress(stderr, !options.quiet && isatty(fileno(stderr)) ? cli::ProgressBar::Style::Bar
                                                                            : cli::ProgressBar::Style::None);
    sync::MatchOptions match;
    match.maxOffsetSeconds = options.maxOffsetSeconds;
    sync::JobTimes times;
    const auto starts =
        sync::matchStartFrames(options.clips, match, [&](double share) { progress.matching(share); }, &times).angles;
    progress.finish();
    if (options.timings)
        std::fprintf(stderr, "reading the sound: %.3f s\nmatching: %.3f s\n", times.reading, times.matching);
    std::cout << (options.json ? cli::syncReportJson(options.clips, starts) : cli::syncReportText(starts));
    return 0;
}

void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg || type == QtCriticalMsg || qEnvironmentVariableIsSet("VISTREL_DEBUG"))
        std::cerr << message.toStdString() << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(quietQtMessages);
    // A script may draw text with Qt; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("vistrel-sync"));

    const auto parsed = cli::parseSyncOptions(QGuiApplication::arguments());
    if (const auto* usage = std::get_if<cli::UsageError>(&parsed)) {
        if (usage->message.empty()) {
            std::cout << usage->helpText;
            return 0;
        }
        std::cerr << "vistrel-sync: " << usage->message << "\n\n" << usage->helpText;
        return kUsageError;
    }
    try {
        return run(std::get<cli::SyncOptions>(parsed));
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return kMatchError;
    }
}
