#include "model/MltExport.h"

#include <QString>
#include <QStringList>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>

namespace vistrel::model {

namespace {

constexpr int kVideoTracks = 2;
constexpr int kFirstVideoTrack = 2;  // after the background and the sound
constexpr double kSilentDecibels = -60.0;

QString number(std::int64_t value) { return QString::number(value); }

void property(QXmlStreamWriter& xml, const char* name, const QString& value) {
    xml.writeStartElement("property");
    xml.writeAttribute("name", name);
    xml.writeCharacters(value);
    xml.writeEndElement();
}

// How MLT reads one angle's pictures: the producer's resource and service.
// A producer counts frames at the edit's rate by time, as a conform script's
// ChangeFPS does; a clock kept in step (AssumeFPS) plays the file faster or
// slower, which `timewarp` does.
struct AngleSource {
    QString resource;
    QString service = "avformat";
    double speed = 1.0;
};

AngleSource angleSource(const CutAngle& angle) {
    AngleSource source{QString::fromStdString(angle.file)};
    for (const ConformedClip::Timing& timing : angle.timings)
        if (timing.assumed.num > 0) source.speed = timing.assumed.fps() / angle.facts.rate.fps();
    if (angle.retimed()) {
        source.service = "timewarp";
        source.resource = QString::number(source.speed, 'g', 10) + ":" + source.resource;
    }
    return source;
}

// The producer's frame a segment starts with: the clip's own, as the edit reads it.
std::int64_t clipFrame(const CutList& cut, const CutSegment& segment) {
    return cut.angleOf(segment).startFrame + segment.timelineFirst;
}

void writeProfile(QXmlStreamWriter& xml, const CutList& cut) {
    const std::int64_t shape = std::gcd<std::int64_t>(cut.size.width, cut.size.height);
    xml.writeStartElement("profile");
    xml.writeAttribute("description", QString::fromStdString(cut.title));
    xml.writeAttribute("width", number(cut.size.width));
    xml.writeAttribute("height", number(cut.size.height));
    xml.writeAttribute("progressive", "1");
    xml.writeAttribute("sample_aspect_num", "1");
    xml.writeAttribute("sample_aspect_den", "1");
    xml.writeAttribute("display_aspect_num", number(shape > 0 ? cut.size.width / shape : 1));
    xml.writeAttribute("display_aspect_den", number(shape > 0 ? cut.size.height / shape : 1));
    xml.writeAttribute("frame_rate_num", number(cut.rate.num));
    xml.writeAttribute("frame_rate_den", number(cut.rate.den));
    xml.writeAttribute("colorspace", cut.size.height > 576 ? "709" : "601");
    xml.writeEndElement();
}

void writeProducer(QXmlStreamWriter& xml, const QString& id, const QString& service, const QString& resource,
                   bool pictures, bool sound) {
    xml.writeStartElement("producer");
    xml.writeAttribute("id", id);
    property(xml, "mlt_service", service);
    property(xml, "resource", resource);
    if (!pictures) property(xml, "video_index", "-1");
    if (!sound) property(xml, "audio_index", "-1");
    xml.writeEndElement();
}

void writeEntry(QXmlStreamWriter& xml, const QString& producer, std::int64_t in, std::int64_t frames) {
    xml.writeStartElement("entry");
    xml.writeAttribute("producer", producer);
    xml.writeAttribute("in", number(in));
    xml.writeAttribute("out", number(in + frames - 1));
    xml.writeEndElement();
}

void writeBlank(QXmlStreamWriter& xml, std::int64_t frames) {
    if (frames <= 0) return;
    xml.writeStartElement("blank");
    xml.writeAttribute("length", number(frames));
    xml.writeEndElement();
}

// The edit's sound: the part of the file under the edit, from its first
// picture after the fade-in's black frame, to the nearest frame.
void writeSoundTrack(QXmlStreamWriter& xml, const CutList& cut, std::vector<std::string>& cannotHold) {
    xml.writeStartElement("playlist");
    xml.writeAttribute("id", "sound");
    if (cut.sound.present) {
        const double frames = cut.sound.startSeconds * cut.rate.fps();
        const auto start = static_cast<std::int64_t>(std::llround(frames));
        const double offMs = std::abs(frames - double(start)) / cut.rate.fps() * 1000.0;
        if (offMs >= 1.0)
            cannotHold.push_back("The sound starts on a whole frame, " + std::to_string(std::llround(offMs)) +
                                 " ms from where the edit starts it.");
        std::int64_t length = cut.frameCount - cut.firstPicture - std::max<std::int64_t>(0, -start);
        if (!cut.sound.recording)  // angle A's file, at the edit's rate: no further than it goes
            length = std::min(length, cut.angles.front().facts.frameCount - start);
        writeBlank(xml, cut.firstPicture + std::max<std::int64_t>(0, -start));
        if (length > 0) writeEntry(xml, "sound-file", std::max<std::int64_t>(0, start), length);
    }
    xml.writeEndElement();
}

// Segment i on video track i % 2, so that each crossfade overlaps two tracks.
void writeVideoTrack(QXmlStreamWriter& xml, const CutList& cut, int track) {
    xml.writeStartElement("playlist");
    xml.writeAttribute("id", "video" + number(track + 1));
    std::int64_t at = 0;
    for (std::size_t i = static_cast<std::size_t>(track); i < cut.segments.size(); i += kVideoTracks) {
        const CutSegment& segment = cut.segments[i];
        writeBlank(xml, segment.recordFirst - at);
        writeEntry(xml, "angle" + QString(QChar(cut.angleOf(segment).letter)), clipFrame(cut, segment),
                   segment.recordFrames);
        at = segment.recordFirst + segment.recordFrames;
    }
    xml.writeEndElement();
}

// A tractor over the whole edit, open at its multitrack.
void startTractor(QXmlStreamWriter& xml, const char* id, const QString& last) {
    xml.writeStartElement("tractor");
    xml.writeAttribute("id", id);
    xml.writeAttribute("in", "0");
    xml.writeAttribute("out", last);
    xml.writeStartElement("multitrack");
}

void writeTrack(QXmlStreamWriter& xml, const QString& producer, const char* hide) {
    xml.writeStartElement("track");
    xml.writeAttribute("producer", producer);
    if (hide) xml.writeAttribute("hide", hide);
    xml.writeEndElement();
}

void writeLuma(QXmlStreamWriter& xml, std::int64_t in, std::int64_t frames, int aTrack, int bTrack, bool reverse) {
    xml.writeStartElement("transition");
    xml.writeAttribute("in", number(in));
    xml.writeAttribute("out", number(in + frames - 1));
    property(xml, "mlt_service", "luma");
    property(xml, "a_track", number(aTrack));
    property(xml, "b_track", number(bTrack));
    if (reverse) property(xml, "reverse", "1");
    xml.writeEndElement();
}

// A crossfade from the segment before into this one: a dissolve from the
// lower video track to the upper, reversed when the new segment lies on the
// lower. It starts a frame before the new segment, so that its n frames
// weigh the new one 1 / (n + 1) apart, as the edit's dissolve does.
void writeDissolve(QXmlStreamWriter& xml, const CutSegment& segment, std::size_t index) {
    writeLuma(xml, segment.recordFirst - 1, segment.dissolveIn + 1, kFirstVideoTrack, kFirstVideoTrack + 1,
              index % kVideoTracks == 0);
}

// The fades dissolve the picture from and into the black background as the
// edit's fades dissolve from and into a black clip: over a fade of n frames
// the picture weighs k / (n + 1) at its k-th frame, and the black frame
// after a fade-out lies past the last segment.
void writePictureFades(QXmlStreamWriter& xml, const CutList& cut) {
    if (cut.fadeInFrames > 0) writeLuma(xml, 0, cut.fadeInFrames + 1, 0, kFirstVideoTrack, false);
    const auto last = static_cast<int>(cut.segments.size() - 1) % kVideoTracks;
    if (cut.fadeOutFrames > 0)
        writeLuma(xml, cut.frameCount - cut.fadeOutFrames - 2, cut.fadeOutFrames + 1, 0, kFirstVideoTrack + last, true);
}

// The sound's fades in the same steps: its level in dB, a key at every
// frame, so that its amplitude ramps as the picture's weight does.
void writeSoundRamp(QXmlStreamWriter& xml, std::int64_t in, std::int64_t fade, bool up) {
    const std::int64_t frames = fade + 2;
    xml.writeStartElement("filter");
    xml.writeAttribute("in", number(in));
    xml.writeAttribute("out", number(in + frames - 1));
    property(xml, "mlt_service", "volume");
    QStringList keys;
    for (std::int64_t j = 0; j < frames; ++j) {
        const double weight = std::clamp(double(up ? j : fade + 1 - j) / double(fade + 1), 0.0, 1.0);
        keys << number(j) + "=" +
                    QString::number(std::max(kSilentDecibels, 20 * std::log10(std::max(weight, 1e-6))), 'f', 2);
    }
    property(xml, "level", keys.join(';'));
    xml.writeEndElement();
}

void writeSoundFades(QXmlStreamWriter& xml, const CutList& cut) {
    if (cut.fadeInFrames > 0) writeSoundRamp(xml, 0, cut.fadeInFrames, true);
    if (cut.fadeOutFrames > 0) writeSoundRamp(xml, cut.frameCount - cut.fadeOutFrames - 2, cut.fadeOutFrames, false);
}

}  // namespace

ExportedCut mltText(const CutList& cut) {
    ExportedCut exported;
    QString text;
    QXmlStreamWriter xml(&text);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeStartElement("mlt");
    xml.writeAttribute("LC_NUMERIC", "C");
    xml.writeAttribute("title", QString::fromStdString(cut.title));
    xml.writeAttribute("producer", "main");
    writeProfile(xml, cut);

    const QString last = number(cut.frameCount - 1);
    xml.writeStartElement("producer");
    xml.writeAttribute("id", "black");
    xml.writeAttribute("in", "0");
    xml.writeAttribute("out", last);
    property(xml, "mlt_service", "color");
    property(xml, "resource", "#ff000000");
    property(xml, "length", number(cut.frameCount));
    xml.writeEndElement();
    if (cut.sound.present)
        writeProducer(xml, "sound-file", "avformat", QString::fromStdString(cut.sound.file), false, true);
    std::map<int, bool> shown;
    for (const CutSegment& segment : cut.segments) shown[segment.angleRow] = true;
    for (const auto& [row, unused] : shown) {
        const CutAngle& angle = cut.angles.at(static_cast<std::size_t>(row));
        const AngleSource source = angleSource(angle);
        if (angle.retimed() || angle.facts.rate.num * cut.rate.den != cut.rate.num * angle.facts.rate.den)
            exported.cannotHold.push_back(
                angle.name() +
                " plays at another rate than its own, where MLT shows the nearest of its frames "
                "and the edit the one on screen: where they differ, a frame shows the next picture.");
        writeProducer(xml, "angle" + QString(QChar(angle.letter)), source.service, source.resource, true, false);
    }

    xml.writeStartElement("playlist");
    xml.writeAttribute("id", "background");
    writeEntry(xml, "black", 0, cut.frameCount);
    xml.writeEndElement();
    writeSoundTrack(xml, cut, exported.cannotHold);
    for (int track = 0; track < kVideoTracks; ++track) writeVideoTrack(xml, cut, track);

    startTractor(xml, "edit", last);
    writeTrack(xml, "background", nullptr);
    writeTrack(xml, "sound", "video");
    for (int track = 0; track < kVideoTracks; ++track) writeTrack(xml, "video" + number(track + 1), "audio");
    xml.writeEndElement();
    for (std::size_t i = 0; i < cut.segments.size(); ++i)
        if (cut.segments[i].dissolveIn > 0) writeDissolve(xml, cut.segments[i], i);
    writePictureFades(xml, cut);
    xml.writeEndElement();

    startTractor(xml, "main", last);
    writeTrack(xml, "edit", nullptr);
    xml.writeEndElement();
    writeSoundFades(xml, cut);
    xml.writeEndElement();

    xml.writeEndElement();
    xml.writeEndDocument();
    exported.text = text.toStdString();
    return exported;
}

}  // namespace vistrel::model
