#include "cli/SyncCommand.h"

#include "cli/Version.h"
#include "sync/StartFrameMatch.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <cmath>
#include <cstdio>
#include <optional>
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
                       "when the clip's clock runs away from A's by more than half a frame over its length.\n"
                       "\n"
                       "The offset is the clip's time at A's frame 0: positive when the clip started first.\n"
                       "Where the clocks drift, it holds where the two begin to overlap. Over an overlap of\n"
                       "two minutes or more, \"clock\" gives how fast the clip's clock runs against A's, in\n"
                       "parts per million measured over the whole overlap: positive when it runs fast\n"
                       "(it counts more seconds than A's over the same time). A sound file without picture\n"
                       "is a clip too: \"sound only\" takes the place of its start frame.\n"
                       "\n"
                       "With --sound REC, every clip is an angle (named from A) matched against the sound\n"
                       "recording REC instead, and offsets are the clip's time at the recording's time 0.\n"
                       "The recording's start point is the latest time at which a sure angle starts, so that\n"
                       "no sure angle starts before its first frame; each start frame is the frame of that\n"
                       "angle at the start point:\n"
                       "  recording: start 12.345 s\n"
                       "  A: start 0  offset -12.345 s  confidence 0.98  clock +12.3 ppm")
            .arg(sync::kSureConfidence));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("CLIP"),
        QStringLiteral("Video files, sound files or .avs scripts, angle A first (with --sound, angles from A)."),
        QStringLiteral("CLIP..."));
    const QCommandLineOption json(
        QStringLiteral("json"),
        QStringLiteral("Print the results as JSON: per angle offset_seconds, start_frame, fps, confidence, sure, "
                       "drift_seconds and drift_ppm (null where unknown, or without picture); then angle_a and "
                       "fps_a, or with --sound the recording's path and start_ms."));
    const QCommandLineOption sound(
        QStringLiteral("sound"),
        QStringLiteral("Match every clip against the sound recording REC (a sound file, or any clip with sound)."),
        QStringLiteral("REC"));
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
    parser.addOptions({json, sound, maxOffset, quiet, timings, progressLines});

    auto usage = [&](const QString& message) {
        return UsageError{message.toStdString(), parser.helpText().toStdString()};
    };
    if (!parser.parse(arguments)) return usage(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) return usage(QString());
    if (parser.isSet(QStringLiteral("version"))) return UsageError{{}, versionText("vistrel-sync")};

    SyncOptions options;
    options.recording = parser.value(sound).toStdString();
    if (parser.isSet(sound) && options.recording.empty()) return usage(QStringLiteral("--sound takes a file."));
    const QStringList positional = parser.positionalArguments();
    if (!options.recording.empty() && positional.isEmpty())
        return usage(QStringLiteral("Give at least one clip to match against the recording."));
    if (options.recording.empty() && positional.size() < 2)
        return usage(QStringLiteral("Give angle A and at least one more clip."));
    if (static_cast<size_t>(positional.size()) > kMostSyncClips)
        return usage(QStringLiteral("Give at most %1 clips.").arg(kMostSyncClips));

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

// Angles are named from B after angle A, from A against a recording.
std::string angleName(const sync::MatchedAngles& found, size_t angle) {
    return std::string(1, char((found.recording ? 'A' : 'B') + angle));
}

// Three decimals, without the sign of an offset that rounds to zero.
double shownOffset(double seconds) { return std::abs(seconds) < 0.0005 ? 0.0 : seconds; }

// Two decimals, never rounded up to a sure-looking 1.00 or down past the threshold.
double shownConfidence(double confidence) { return std::floor(confidence * 100) / 100; }

QJsonValue rateValue(engine::Rational fps) {
    return fps.num > 0 ? QJsonValue(QString("%1/%2").arg(fps.num).arg(fps.den)) : QJsonValue();
}

[[noreturn]] void unreadable(const std::string& what) {
    throw std::runtime_error("vistrel-sync's report could not be read: " + what);
}

std::string shown(const QJsonValue& value) {
    if (value.isUndefined()) return "missing";
    return QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).mid(1).chopped(1).toStdString();
}

// A frame rate "num/den", or 0/1 for null (a clip without picture).
engine::Rational rateOf(const QJsonValue& value, const std::string& name) {
    if (value.isNull()) return {};
    const QStringList parts = value.toString().split(QLatin1Char('/'));
    bool numOk = false, denOk = false;
    const engine::Rational fps{parts.value(0).toLongLong(&numOk), parts.value(1).toLongLong(&denOk)};
    if (parts.size() != 2 || !numOk || !denOk || fps.num <= 0 || fps.den <= 0)
        unreadable(name + " is not a frame rate: " + shown(value));
    return fps;
}

double numberOf(const QJsonValue& value, const std::string& name) {
    if (!value.isDouble() || !std::isfinite(value.toDouble())) unreadable(name + " is not a number: " + shown(value));
    return value.toDouble();
}

std::optional<double> optionalNumberOf(const QJsonValue& value, const std::string& name) {
    if (value.isNull() || value.isUndefined()) return std::nullopt;
    return numberOf(value, name);
}

int64_t wholeNumberOf(const QJsonValue& value, const std::string& name) {
    const double number = numberOf(value, name);
    if (number != std::floor(number) || std::abs(number) > 9e15)
        unreadable(name + " is not a whole number: " + shown(value));
    return static_cast<int64_t>(number);
}

sync::AngleStart angleOf(const QJsonValue& value, const std::string& name) {
    if (!value.isObject()) unreadable(name + " is not an object: " + shown(value));
    const QJsonObject angle = value.toObject();
    sync::AngleStart start;
    start.match.offsetSeconds = numberOf(angle["offset_seconds"], name + "'s offset_seconds");
    start.match.confidence = numberOf(angle["confidence"], name + "'s confidence");
    if (start.match.confidence < 0 || start.match.confidence > 1)
        unreadable(name + "'s confidence is not between 0 and 1: " + shown(angle["confidence"]));
    start.fps = rateOf(angle["fps"], name + "'s fps");
    if (start.hasPicture()) start.startFrame = wholeNumberOf(angle["start_frame"], name + "'s start_frame");
    start.driftSeconds = optionalNumberOf(angle["drift_seconds"], name + "'s drift_seconds");
    start.match.driftPpm = optionalNumberOf(angle["drift_ppm"], name + "'s drift_ppm");
    return start;
}

}  // namespace

std::string syncReportText(const sync::MatchedAngles& found) {
    std::string text;
    char line[160];
    if (found.recording) {
        std::snprintf(line, sizeof line, "recording: start %.3f s\n", double(found.recording->startMs) / 1000);
        text += line;
    }
    for (size_t i = 0; i < found.angles.size(); ++i) {
        const sync::AngleStart& s = found.angles[i];
        const std::string start = s.hasPicture() ? "start " + std::to_string(s.startFrame) : "sound only";
        std::snprintf(line, sizeof line, "%s: %s  offset %.3f s  confidence %.2f", angleName(found, i).c_str(),
                      start.c_str(), shownOffset(s.match.offsetSeconds), shownConfidence(s.match.confidence));
        text += line;
        if (!s.sure()) text += "  unsure";
        if (s.driftSeconds) {
            std::snprintf(line, sizeof line, "  drift %.3f s", *s.driftSeconds);
            text += line;
        }
        if (s.match.driftPpm) {
            std::snprintf(line, sizeof line, "  clock %+.1f ppm",
                          std::abs(*s.match.driftPpm) < 0.05 ? 0.0 : *s.match.driftPpm);
            text += line;
        }
        text += '\n';
    }
    return text;
}

std::string syncReportJson(const std::vector<std::string>& clips, const sync::MatchedAngles& found) {
    const size_t firstAngle = found.recording ? 0 : 1;
    QJsonArray angles;
    for (size_t i = 0; i < found.angles.size(); ++i) {
        const sync::AngleStart& s = found.angles[i];
        QJsonObject angle{
            {"angle", QString::fromStdString(angleName(found, i))},
            {"clip", QString::fromStdString(clips.at(i + firstAngle))},
            {"start_frame", s.hasPicture() ? QJsonValue(qint64(s.startFrame)) : QJsonValue()},
            {"offset_seconds", s.match.offsetSeconds},
            {"confidence", shownConfidence(s.match.confidence)},
            {"sure", s.sure()},
            {"fps", rateValue(s.fps)},
            {"drift_seconds", s.driftSeconds ? QJsonValue(*s.driftSeconds) : QJsonValue()},
            {"drift_ppm", s.match.driftPpm ? QJsonValue(*s.match.driftPpm) : QJsonValue()},
        };
        angles.append(angle);
    }
    QJsonObject root{{"angles", angles}};
    if (found.recording) {
        root["recording"] = QJsonObject{{"path", QString::fromStdString(found.recording->path)},
                                        {"start_ms", qint64(found.recording->startMs)}};
    } else {
        root["angle_a"] = QString::fromStdString(clips.at(0));
        root["fps_a"] = rateValue(found.fpsA);
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

sync::MatchedAngles readSyncReportJson(const QByteArray& json) {
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(json, &error).object();
    if (error.error != QJsonParseError::NoError) unreadable(error.errorString().toStdString());
    if (!root["angles"].isArray()) unreadable("angles is not a list: " + shown(root["angles"]));
    sync::MatchedAngles found;
    if (root.contains("recording")) {
        const QJsonObject recording = root["recording"].toObject();
        if (!recording["path"].isString() || recording["path"].toString().isEmpty())
            unreadable("the recording's path is not a file name: " + shown(recording["path"]));
        const int64_t startMs = wholeNumberOf(recording["start_ms"], "the recording's start_ms");
        if (startMs < 0) unreadable("the recording's start_ms is negative: " + shown(recording["start_ms"]));
        found.recording = sync::SoundRecording{recording["path"].toString().toStdString(), startMs};
    } else {
        found.fpsA = rateOf(root["fps_a"], "fps_a");
    }
    for (const QJsonValue& value : root["angles"].toArray())
        found.angles.push_back(angleOf(value, "angle " + angleName(found, found.angles.size())));
    return found;
}

}  // namespace vistrel::cli
