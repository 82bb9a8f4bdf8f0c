// The cut as Final Cut Pro XML 1.9, a multicam clip: the camera files as
// assets, one multicam with an angle per camera (A to D, each holding its
// file where the angles are in step), and a project whose spine holds the
// cut as mc-clips of that multicam, each choosing its angle's video and the
// edit's sound, with the crossfades and fades as transitions. The editor
// that reads it can switch any cut to another angle again.

#include "model/CutFormats.h"

#include <QString>
#include <QUrl>
#include <QXmlStreamWriter>

#include <cmath>
#include <numeric>

namespace vistrel::model {
namespace {

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

QString fileName(const std::string& path) { return text(fileNameOf(path)); }

// A time in seconds as FCPXML writes one: a reduced fraction, "0s", "2s", "1001/30000s".
QString seconds(std::int64_t num, std::int64_t den) {
    if (num == 0) return QStringLiteral("0s");
    const std::int64_t divisor = std::gcd(num, den);
    num /= divisor;
    den /= divisor;
    return den == 1 ? QString::number(num) + QLatin1Char('s')
                    : QString::number(num) + QLatin1Char('/') + QString::number(den) + QLatin1Char('s');
}

// Frames of a rate as a time.
QString frames(std::int64_t count, FrameRate rate) { return seconds(count * rate.den, rate.num); }

// Where the angles are in step: the multicam's time 0 lies `lead` frames of
// the edit's rate before the common time line's frame 0, so that every
// angle's file (and the recording) starts at or after it.
class FcpxmlWriter {
public:
    explicit FcpxmlWriter(const CutList& cut) : cut_(cut), rate_(cut.rate), xml_(&text_) {}

    ExportedCut write() {
        findLead();
        xml_.setAutoFormatting(true);
        xml_.setAutoFormattingIndent(2);
        text_ = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
        xml_.writeDTD(QStringLiteral("<!DOCTYPE fcpxml>"));
        xml_.writeStartElement(QStringLiteral("fcpxml"));
        xml_.writeAttribute(QStringLiteral("version"), QStringLiteral("1.9"));
        writeResources();
        writeProject();
        xml_.writeEndDocument();
        sayWhatCannotBeHeld();
        return {text_.toStdString(), cannotHold_};
    }

private:
    static QString formatId(std::size_t row) { return QStringLiteral("r%1").arg(row + 2); }
    static QString assetId(std::size_t row) { return QStringLiteral("r%1").arg(row + 10); }
    static QString soundAssetId() { return QStringLiteral("r20"); }
    static QString multicamId() { return QStringLiteral("r30"); }
    static QString angleId(char letter) { return QString(QLatin1Char(letter)); }
    static QString soundAngleId() { return QStringLiteral("Sound"); }

    // The earliest any file starts against the common time line's frame 0, in the edit's frames.
    void findLead() {
        double earliest = 0;
        for (const CutAngle& angle : cut_.angles) earliest = std::max(earliest, angle.fileSeconds(0) * rate_.fps());
        if (cut_.sound.recording) earliest = std::max(earliest, cut_.sound.startSeconds * rate_.fps());
        lead_ = static_cast<std::int64_t>(std::ceil(earliest - 1e-9));
    }

    void element(const QString& name, std::initializer_list<std::pair<const char*, QString>> attributes) {
        xml_.writeStartElement(name);
        for (const auto& [attribute, value] : attributes) xml_.writeAttribute(QString::fromLatin1(attribute), value);
    }

    void writeResources() {
        xml_.writeStartElement(QStringLiteral("resources"));
        element(QStringLiteral("format"), {{"id", QStringLiteral("r1")},
                                           {"frameDuration", frames(1, rate_)},
                                           {"width", QString::number(cut_.size.width)},
                                           {"height", QString::number(cut_.size.height)}});
        xml_.writeEndElement();
        for (std::size_t row = 0; row < cut_.angles.size(); ++row) {
            const ClipFacts& facts = cut_.angles[row].facts;
            element(QStringLiteral("format"), {{"id", formatId(row)},
                                               {"frameDuration", frames(1, facts.rate)},
                                               {"width", QString::number(facts.size.width)},
                                               {"height", QString::number(facts.size.height)}});
            xml_.writeEndElement();
        }
        for (std::size_t row = 0; row < cut_.angles.size(); ++row) {
            const CutAngle& angle = cut_.angles[row];
            writeAsset(assetId(row), angle.file, frames(angle.facts.frameCount, angle.facts.rate), &angle.facts,
                       formatId(row));
        }
        if (cut_.sound.recording) writeAsset(soundAssetId(), cut_.sound.file, QString(), nullptr, QString());
        writeMulticam();
        xml_.writeEndElement();
    }

    // facts: a camera file's; none for the sound recording.
    void writeAsset(const QString& id, const std::string& path, const QString& duration, const ClipFacts* facts,
                    const QString& format) {
        xml_.writeStartElement(QStringLiteral("asset"));
        xml_.writeAttribute(QStringLiteral("id"), id);
        xml_.writeAttribute(QStringLiteral("name"), fileName(path));
        xml_.writeAttribute(QStringLiteral("start"), QStringLiteral("0s"));
        if (!duration.isEmpty()) xml_.writeAttribute(QStringLiteral("duration"), duration);
        xml_.writeAttribute(QStringLiteral("hasVideo"), facts ? QStringLiteral("1") : QStringLiteral("0"));
        const bool sound = !facts || facts->hasSound;
        xml_.writeAttribute(QStringLiteral("hasAudio"), sound ? QStringLiteral("1") : QStringLiteral("0"));
        if (facts && facts->hasSound) {
            xml_.writeAttribute(QStringLiteral("audioSources"), QStringLiteral("1"));
            xml_.writeAttribute(QStringLiteral("audioChannels"), QString::number(facts->channels));
            xml_.writeAttribute(QStringLiteral("audioRate"), QString::number(facts->soundRate));
        }
        if (!format.isEmpty()) xml_.writeAttribute(QStringLiteral("format"), format);
        element(QStringLiteral("media-rep"),
                {{"kind", QStringLiteral("original-media")}, {"src", QUrl::fromLocalFile(text(path)).toString()}});
        xml_.writeEndElement();
        xml_.writeEndElement();
    }

    // Where the angle's file starts in the multicam: lead_ frames of the
    // edit less its start frame's moment, exact where no script retimes it.
    QString angleOffset(const CutAngle& angle) const {
        if (angle.retimed()) return frames(lead_ - std::llround(angle.fileSeconds(0) * rate_.fps()), rate_);
        const FrameRate clip = angle.clipFacts.rate;
        return seconds(lead_ * rate_.den * clip.num - angle.startFrame * clip.den * rate_.num, rate_.num * clip.num);
    }

    // Each angle holds its whole file, placed where its start frame meets
    // the common time line's frame 0 (the multicam's frame `lead_`).
    void writeMulticam() {
        element(QStringLiteral("media"),
                {{"id", multicamId()}, {"name", text(cut_.title) + QStringLiteral(" angles")}});
        element(QStringLiteral("multicam"), {{"format", QStringLiteral("r1")}, {"tcStart", QStringLiteral("0s")}});
        for (std::size_t row = 0; row < cut_.angles.size(); ++row) {
            const CutAngle& angle = cut_.angles[row];
            element(QStringLiteral("mc-angle"),
                    {{"name", angleId(angle.letter) + QStringLiteral(" ") + fileName(angle.file)},
                     {"angleID", angleId(angle.letter)}});
            element(QStringLiteral("asset-clip"),
                    {{"ref", assetId(row)},
                     {"offset", angleOffset(angle)},
                     {"name", fileName(angle.file)},
                     {"start", QStringLiteral("0s")},
                     {"duration", frames(angle.facts.frameCount * rate_.num * angle.facts.rate.den /
                                             (rate_.den * angle.facts.rate.num),
                                         rate_)}});
            xml_.writeEndElement();
            xml_.writeEndElement();
        }
        if (cut_.sound.recording) {
            element(QStringLiteral("mc-angle"),
                    {{"name", QStringLiteral("Sound ") + fileName(cut_.sound.file)}, {"angleID", soundAngleId()}});
            const std::int64_t startMs = std::llround(cut_.sound.startSeconds * 1000);
            const std::int64_t leadMs = lead_ * rate_.den * 1000;  // over rate_.num
            element(QStringLiteral("asset-clip"), {{"ref", soundAssetId()},
                                                   {"offset", seconds(leadMs - startMs * rate_.num, 1000 * rate_.num)},
                                                   {"name", fileName(cut_.sound.file)},
                                                   {"start", QStringLiteral("0s")},
                                                   {"duration", frames(lead_ + cut_.frameCount, rate_)}});
            xml_.writeEndElement();
            xml_.writeEndElement();
        }
        xml_.writeEndElement();
        xml_.writeEndElement();
    }

    void writeProject() {
        xml_.writeStartElement(QStringLiteral("library"));
        element(QStringLiteral("event"), {{"name", QStringLiteral("Vistrel")}});
        element(QStringLiteral("project"), {{"name", text(cut_.title)}});
        element(QStringLiteral("sequence"), {{"format", QStringLiteral("r1")},
                                             {"duration", frames(cut_.frameCount, rate_)},
                                             {"tcStart", QStringLiteral("0s")},
                                             {"tcFormat", QStringLiteral("NDF")}});
        xml_.writeStartElement(QStringLiteral("spine"));
        writeSpine();
        xml_.writeEndElement();
        xml_.writeEndElement();
        xml_.writeEndElement();
        xml_.writeEndElement();
        xml_.writeEndElement();
    }

    void gap(std::int64_t at, std::int64_t length) {
        element(QStringLiteral("gap"), {{"name", QStringLiteral("Black")},
                                        {"offset", frames(at, rate_)},
                                        {"start", QStringLiteral("0s")},
                                        {"duration", frames(length, rate_)}});
        xml_.writeEndElement();
    }

    void transition(std::int64_t at, std::int64_t length) {
        element(QStringLiteral("transition"), {{"name", QStringLiteral("Cross Dissolve")},
                                               {"offset", frames(at, rate_)},
                                               {"duration", frames(length, rate_)}});
        xml_.writeEndElement();
    }

    // The segments end to end (trackCuts), each an mc-clip from its cut to
    // the next at the multicam's time of its frames of the common time line.
    void writeSpine() {
        const std::vector<std::int64_t> cuts = trackCuts(cut_);
        if (cuts.front() > 0) gap(0, cuts.front());
        if (cut_.fadeInFrames > 0) transition(cuts.front() - cut_.fadeInFrames, cut_.fadeInFrames);
        const QString sound = cut_.sound.recording ? soundAngleId() : angleId('A');
        for (std::size_t i = 0; i < cut_.segments.size(); ++i) {
            const CutSegment& segment = cut_.segments[i];
            if (i > 0 && segment.dissolveIn > 0) transition(segment.recordFirst, segment.dissolveIn);
            const std::int64_t multicamFrame = lead_ + segment.timelineFirst + cuts[i] - segment.recordFirst;
            const QString angle = angleId(cut_.angleOf(segment).letter);
            element(QStringLiteral("mc-clip"),
                    {{"ref", multicamId()},
                     {"offset", frames(cuts[i], rate_)},
                     {"name", angle + QStringLiteral(" ") + fileName(cut_.angleOf(segment).file)},
                     {"start", frames(multicamFrame, rate_)},
                     {"duration", frames(cuts[i + 1] - cuts[i], rate_)}});
            element(QStringLiteral("mc-source"), {{"angleID", angle}, {"srcEnable", QStringLiteral("video")}});
            xml_.writeEndElement();
            if (cut_.sound.present) {
                element(QStringLiteral("mc-source"), {{"angleID", sound}, {"srcEnable", QStringLiteral("audio")}});
                xml_.writeEndElement();
            }
            xml_.writeEndElement();
        }
        if (cut_.fadeOutFrames > 0) transition(cuts.back(), cut_.fadeOutFrames);
        if (cut_.frameCount > cuts.back()) gap(cuts.back(), cut_.frameCount - cuts.back());
    }

    void sayWhatCannotBeHeld() {
        for (const CutAngle& angle : cut_.angles)
            if (angle.retimed())
                cannotHold_.push_back(angle.name() +
                                      " is kept in step with its clock by a script: its angle plays the file at its "
                                      "own speed, in step where the edit starts.");
        for (const CutSegment& segment : cut_.segments)
            if (segment.recordFirst - cut_.firstPicture != segment.timelineFirst) {
                cannotHold_.push_back(
                    "A clip ends before its segment does, so the edit shows later segments earlier than the angles "
                    "have them; the multicam clip keeps its angles in step, and there the sound follows the "
                    "pictures.");
                break;
            }
    }

    const CutList& cut_;
    FrameRate rate_;
    QString text_;
    QXmlStreamWriter xml_;
    std::int64_t lead_ = 0;
    std::vector<std::string> cannotHold_;
};

}  // namespace

ExportedCut fcpxmlText(const CutList& cut) { return FcpxmlWriter(cut).write(); }

}  // namespace vistrel::model
