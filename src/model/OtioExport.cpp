// The cut as OpenTimelineIO's JSON: a Timeline whose Stack holds a video
// Track and an audio Track. The video track lays the segments end to end as
// Clips of their camera files (source ranges at each file's own rate), a
// crossfade as a dissolve Transition reaching into the clips on either side,
// the fades as dissolves from and to a Gap. The audio track holds the edit's
// sound, after Gaps where it starts later.

#include "model/CutFormats.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <cmath>

namespace vistrel::model {
namespace {

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

QJsonObject schema(const char* name) { return {{"OTIO_SCHEMA", QString::fromLatin1(name)}}; }

// A value in frames of a rate, kept to a millionth of a frame.
QJsonObject time(double value, FrameRate rate) {
    QJsonObject time = schema("RationalTime.1");
    time["rate"] = rate.fps();
    time["value"] = std::round(value * 1e6) / 1e6;
    return time;
}

QJsonObject range(double start, double duration, FrameRate rate) {
    QJsonObject range = schema("TimeRange.1");
    range["start_time"] = time(start, rate);
    range["duration"] = time(duration, rate);
    return range;
}

// What every item of a track has.
QJsonObject item(const char* schemaName, const QString& name, const QJsonObject& sourceRange) {
    QJsonObject item = schema(schemaName);
    item["name"] = name;
    item["metadata"] = QJsonObject();
    item["source_range"] = sourceRange;
    item["effects"] = QJsonArray();
    item["markers"] = QJsonArray();
    item["enabled"] = true;
    return item;
}

QJsonObject gap(std::int64_t frames, FrameRate rate) {
    return item("Gap.1", QString(), range(0, static_cast<double>(frames), rate));
}

QJsonObject dissolve(std::int64_t inOffset, std::int64_t outOffset, FrameRate rate) {
    QJsonObject transition = schema("Transition.1");
    transition["name"] = QStringLiteral("Dissolve");
    transition["metadata"] = QJsonObject();
    transition["transition_type"] = QStringLiteral("SMPTE_Dissolve");
    transition["in_offset"] = time(static_cast<double>(inOffset), rate);
    transition["out_offset"] = time(static_cast<double>(outOffset), rate);
    return transition;
}

QJsonObject fileReference(const std::string& path, const QJsonValue& availableRange) {
    QJsonObject reference = schema("ExternalReference.1");
    reference["name"] = QString();
    reference["metadata"] = QJsonObject();
    reference["target_url"] = QUrl::fromLocalFile(text(path)).toString();
    reference["available_range"] = availableRange;
    reference["available_image_bounds"] = QJsonValue();
    return reference;
}

QJsonObject clip(const QString& name, const QJsonObject& sourceRange, const QJsonObject& reference,
                 const QJsonObject& metadata) {
    QJsonObject clip = item("Clip.2", name, sourceRange);
    clip["metadata"] = metadata;
    clip["media_references"] = QJsonObject{{"DEFAULT_MEDIA", reference}};
    clip["active_media_reference_key"] = QStringLiteral("DEFAULT_MEDIA");
    return clip;
}

QJsonObject track(const char* name, const char* kind, const QJsonArray& children) {
    QJsonObject track = item("Track.1", QString::fromLatin1(name), QJsonObject());
    track["source_range"] = QJsonValue();
    track["kind"] = QString::fromLatin1(kind);
    track["children"] = children;
    return track;
}

class OtioWriter {
public:
    explicit OtioWriter(const CutList& cut) : cut_(cut), rate_(cut.rate) {}

    ExportedCut write() {
        QJsonObject stack = item("Stack.1", QStringLiteral("tracks"), QJsonObject());
        stack["source_range"] = QJsonValue();
        stack["children"] = QJsonArray{track("Video 1", "Video", videoItems()), track("Audio 1", "Audio", sound())};
        QJsonObject timeline = schema("Timeline.1");
        timeline["name"] = text(cut_.title);
        timeline["metadata"] = QJsonObject();
        timeline["global_start_time"] = time(0, rate_);
        timeline["tracks"] = stack;
        for (const CutAngle& angle : cut_.angles)
            if (angle.retimed())
                cannotHold_.push_back(angle.name() +
                                      " is kept in step with its clock by a script: the timeline plays it at its own "
                                      "speed, from where each clip starts.");
        return {QJsonDocument(timeline).toJson(QJsonDocument::Indented).toStdString(), cannotHold_};
    }

private:
    // A segment's clip from one cut to the next: its first frame in its
    // file's own frames, its length in them (a fraction where the file's
    // rate differs from the edit's, so that the timeline keeps its length).
    QJsonObject segmentClip(const CutSegment& segment, std::int64_t from, std::int64_t to) const {
        const CutAngle& angle = cut_.angleOf(segment);
        const FrameRate rate = angle.facts.rate;
        const double frames = static_cast<double>(to - from) * rate.fps() / rate_.fps();
        const QJsonObject available = range(0, static_cast<double>(angle.facts.frameCount), rate);
        return clip(QString(QLatin1Char(angle.letter)) + QStringLiteral(": ") + text(fileNameOf(angle.file)),
                    range(static_cast<double>(cut_.sourceFrame(segment, from)), frames, rate),
                    fileReference(angle.file, available),
                    QJsonObject{{"vistrel", QJsonObject{{"angle", QString(QLatin1Char(angle.letter))}}}});
    }

    QJsonArray videoItems() const {
        const std::vector<std::int64_t> cuts = trackCuts(cut_);
        QJsonArray items;
        if (cuts.front() > 0) items.append(gap(cuts.front(), rate_));
        if (cut_.fadeInFrames > 0) items.append(dissolve(cut_.fadeInFrames, 0, rate_));
        for (std::size_t i = 0; i < cut_.segments.size(); ++i) {
            const CutSegment& segment = cut_.segments[i];
            if (i > 0 && segment.dissolveIn > 0) {
                const std::int64_t before = cuts[i] - segment.recordFirst;
                items.append(dissolve(before, segment.dissolveIn - before, rate_));
            }
            items.append(segmentClip(segment, cuts[i], cuts[i + 1]));
        }
        if (cut_.fadeOutFrames > 0) items.append(dissolve(0, cut_.fadeOutFrames, rate_));
        if (cut_.frameCount > cuts.back()) items.append(gap(cut_.frameCount - cuts.back(), rate_));
        return items;
    }

    // The edit's sound from the edit's first picture to its end, in frames
    // of the edit's rate from the file's start.
    QJsonArray sound() const {
        QJsonArray items;
        if (!cut_.sound.present) return items;
        const double start = cut_.sound.startSeconds * rate_.fps();
        const double lateBy = std::max(-start, 0.0);
        const std::int64_t silent = cut_.firstPicture + static_cast<std::int64_t>(std::ceil(lateBy - 1e-9));
        const double skipped = static_cast<double>(silent - cut_.firstPicture) - lateBy;
        if (silent > 0) items.append(gap(silent, rate_));
        if (cut_.frameCount <= silent) return items;
        const CutAngle& angleA = cut_.angles[0];
        const QJsonObject available = cut_.sound.recording
                                          ? QJsonObject()
                                          : range(0, static_cast<double>(angleA.facts.frameCount), angleA.facts.rate);
        items.append(clip(text(fileNameOf(cut_.sound.file)),
                          range(std::max(start, 0.0) + skipped, static_cast<double>(cut_.frameCount - silent), rate_),
                          fileReference(cut_.sound.file, available.isEmpty() ? QJsonValue() : QJsonValue(available)),
                          QJsonObject()));
        return items;
    }

    const CutList& cut_;
    FrameRate rate_;
    std::vector<std::string> cannotHold_;
};

}  // namespace

ExportedCut otioText(const CutList& cut) { return OtioWriter(cut).write(); }

}  // namespace vistrel::model
