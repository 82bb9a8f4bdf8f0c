// vistrel-sync: finds the angles' start frames from their sound, against
// angle A or a sound recording. Exit status
// 0 when every angle was matched (however unsure), 1 for a clip that cannot
// be opened or has no sound (the message on stderr), 2 for a usage error.

#include "cli/CommandLine.h"
#include "cli/ProgressBar.h"
#include "cli/SyncCommand.h"
#include "sync/StartFrameMatch.h"

#include <QGuiApplication>

#include <cstdio>
#include <iostream>

using namespace vistrel;

namespace {

int run(const cli::SyncOptions& options) {
    cli::ProgressBar progress = cli::ProgressBar::forCommand(options.progressLines, options.quiet);
    sync::MatchOptions match;
    match.maxOffsetSeconds = options.maxOffsetSeconds;
    sync::JobTimes times;
    const auto report = [&](double share) { progress.matching(share); };
    const sync::MatchedAngles found =
        options.recording.empty() ? sync::matchStartFrames(options.clips, match, report, &times)
                                  : sync::matchToRecording(options.recording, options.clips, match, report, &times);
    progress.finish();
    if (options.timings)
        std::fprintf(stderr, "reading the sound: %.3f s\nmatching: %.3f s\n", times.reading, times.matching);
    std::cout << (options.json ? cli::syncReportJson(options.clips, found) : cli::syncReportText(found));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    cli::prepareQtForCommand();
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("vistrel-sync"));
    return cli::runCommand<cli::SyncOptions>("vistrel-sync", cli::parseSyncOptions(QGuiApplication::arguments()), run);
}
