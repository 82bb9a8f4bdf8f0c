#include "cli/SyncCommand.h"

#include "sync/StartFrameMatch.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <cmath>
#include <cstdio>
#include <stdexcept>

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
        QStringLiteral("Look at offsets up to SECONDS either way (default: the longer clip's length)."),
        QStringLiteral("SECONDS"));
    const QCommandLineOption quiet(QStringList{QStringLiteral("q"), QStringLiteral("quiet")},
                                   QStringLiteral("Show no progress."));
    const QCommandLineOption timings(QStringLiteral("timings"),
                                     QStringLiteral("Print on stderr how long reading the sound and matching took."));
    const QCommandLineOption progressLines(
        QStringLiteral("progress-lines"),
        QStringLiteral("Report progress for a program on stdout, one line per update: \"matching N of 1000\"."));
    parser.addOptions({json, maxOffset, quiet, timings, progressLines});

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
    options.progressLines = parser.isSet(progressLines);
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

QString rateText(engine::Rational fps) { return QString("%1/%2").arg(fps.num).arg(fps.den); }

engine::Rational rateOf(const QJsonValue& value) {
    const QStringList parts = value.toString().split(QLatin1Char('/'));
    bool numOk = false, denOk = false;
    const engine::Rational fps{parts.value(0).toLongLong(&numOk), parts.value(1).toLongLong(&denOk)};
    if (parts.size() != 2 || !numOk || !denOk || fps.num <= 0 || fps.den <= 0)
        throw std::runtime_error("vistrel-sync reported a frame rate that is not one: " +
                                 value.toString().toStdString());
    return fps;
}

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

std::string syncReportJson(const std::vector<std::string>& clips, const sync::MatchedAngles& found) {
    const std::vector<sync::AngleStart>& starts = found.angles;
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
            {"fps", rateText(s.fps)},
            {"drift_seconds", s.driftSeconds ? QJsonValue(*s.driftSeconds) : QJsonValue()},
        };
        angles.append(angle);
    }
    QJsonObject root{
        {"angle_a", QString::fromStdString(clips.at(0))}, {"fps_a", rateText(found.fpsA)}, {"angles", angles}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

sync::MatchedAngles readSyncReportJson(const QByteArray& json) {
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(json, &error).object();
    if (error.error != QJsonParseError::NoError || !root.contains("angles"))
        throw std::runtime_error("vistrel-sync's report could not be read: " + error.errorString().toStdString());
    sync::MatchedAngles found;
    found.fpsA = rateOf(root["fps_a"]);
    for (const QJsonValue& value : root["angles"].toArray()) {
        const QJsonObject angle = value.toObject();
        sync::AngleStart start;
        start.match.offsetSeconds = angle["offset_seconds"].toDouble();
        start.match.confidence = angle["confidence"].toDouble();
        start.startFrame = angle["start_frame"].toInteger();
        start.fps = rateOf(angle["fps"]);
        if (angle["drift_seconds"].isDouble()) start.driftSeconds = angle["drift_seconds"].toDouble();
        found.angles.push_back(start);
    }
    return found;
}

}  // namespace vistrel::cli
