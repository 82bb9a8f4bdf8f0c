#include "cli/SyncOptions.h"

#include "sync/StartFrameMatch.h"

#include <QCommandLineParser>

#include <cmath>

namespace vistrel::cli {

std::variant<SyncOptions, UsageError> parseSyncOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Finds where the angles of a multi-angle recording start, from the sound every camera\n"
                       "recorded. The first clip is angle A; for each other clip it prints the frame of that\n"
                       "clip that shows the moment of angle A's frame 0 (negative when the clip started after\n"
                       "A), the offset in seconds, and how sure the match is, from 0 to 1:\n"
                       "  B: start 21  offset 0.840 s  confidence 0.93\n"
                       "\"unsure\" follows a confidence below %1: check that angle by eye. \"drift\" follows\n"
                       "when the clip's clock runs away from A's by more than half a frame over its length.")
            .arg(sync::kSureConfidence));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("CLIP"), QStringLiteral("Video files or .avs scripts, angle A first."),
                                 QStringLiteral("CLIP..."));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Print the results as JSON."));
    const QCommandLineOption maxOffset(
        QStringLiteral("max-offset"),
        QStringLiteral("Look at offsets up to SECONDS either way (default: the shorter clip's length)."),
        QStringLiteral("SECONDS"));
    const QCommandLineOption quiet(QStringList{QStringLiteral("q"), QStringLiteral("quiet")},
                                   QStringLiteral("Show no progress."));
    const QCommandLineOption timings(QStringLiteral("timings"),
                                     QStringLiteral("Print on stderr how long reading the sound and matching took."));
    parser.addOptions({json, maxOffset, quiet, timings});

    auto usage = [&](const QString& message) {
        return UsageError{message.toStdString(), parser.helpText().toStdString()};
    };
    if (!parser.parse(arguments)) return usage(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) return usage(QString());

    const QStringList positional = parser.positionalArguments();
    if (positional.size() < 2) return usage(QStringLiteral("Give angle A and at least one more clip."));
    if (static_cast<size_t>(positional.size()) > kMostSyncClips)
        return usage(QStringLiteral("Give at most %1 clips.").arg(kMostSyncClips));

    SyncOptions options;
    for (const QString& clip : positional) options.clips.push_back(clip.toStdString());
    options.json = parser.isSet(json);
    options.quiet = parser.isSet(quiet);
    options.timings = parser.isSet(timings);
    if (parser.isSet(maxOffset)) {
        bool ok = false;
        options.maxOffsetSeconds = parser.value(maxOffset).toDouble(&ok);
        if (!ok || !std::isfinite(options.maxOffsetSeconds) || options.maxOffsetSeconds <= 0)
            return usage(QStringLiteral("--max-offset takes a number of seconds greater than 0."));
    }
    return options;
}

}  // namespace vistrel::cli
