#include "cli/SyncCommand.h"

#include "sync/StartFrameMatch.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <cmath>
#include <cstdio>

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

namespace {

std::string angleName(size_t angleAfterA) { return std::string(1, char('B' + angleAfterA)); }

// Three decimals, without the sign of an offset that rounds to zero.
double shownOffset(double seconds) { return std::abs(seconds) < 0.0005 ? 0.0 : seconds; }

// Two decimals, never rounded up to a sure-looking 1.00 or down past the threshold.
double shownConfidence(double confidence) { return std::floor(confidence * 100) / 100; }

}  // namespace

std::string syncReportText(const std::vector<sync::AngleStart>& starts) {
    std::string text;
    for (size_t i = 0; i < starts.size(); ++i) {
        const sync::AngleStart& s = starts[i];
        char line[160];
        std::snprintf(line, sizeof line, "%s: start %lld  offset %.3f s  confidence %.2f", angleName(i).c_str(),
                      static_cast<long long>(s.startFrame), shownOffset(s.match.offsetSeconds),
                      shownConfidence(s.match.confidence));
        text += line;
        if (!s.sure()) text += "  unsure";
        if (s.driftSeconds) {
            std::snprintf(line, sizeof line, "  drift %.3f s", *s.driftSeconds);
            text += line;
        }
        text += '\n';
    }
    return text;
}

std::string syncReportJson(const std::vector<std::string>& clips, const std::vector<sync::AngleStart>& starts) {
    QJsonArray angles;
    for (size_t i = 0; i < starts.size(); ++i) {
        const sync::AngleStart& s = starts[i];
        QJsonObject angle{
            {"angle", QString::fromStdString(angleName(i))},
            {"clip", QString::fromStdString(clips.at(i + 1))},
            {"start_frame", qint64(s.startFrame)},
            {"offset_seconds", s.match.offsetSeconds},
            {"confidence", shownConfidence(s.match.confidence)},
            {"sure", s.sure()},
            {"fps", QString("%1/%2").arg(s.fps.num).arg(s.fps.den)},
            {"drift_seconds", s.driftSeconds ? QJsonValue(*s.driftSeconds) : QJsonValue()},
        };
        angles.append(angle);
    }
    QJsonObject root{{"angle_a", QString::fromStdString(clips.at(0))}, {"angles", angles}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

}  // namespace vistrel::cli
