// vistrel-render --export as a user runs it on a four-angle edit (a conformed
// 30 fps angle, an MPEG-TS angle, crossfades and fades), each export read
// back by a small reader of the format: every segment's record range and
// crossfades as EditTimeline places the edit script's segments, its camera
// file at the frame the edit itself shows in the segment's middle, and the
// edit's sound.

#include "engine/Open.h"
#include "model/EditTimeline.h"
#include "model/NumericText.h"
#include "support/FourAngleEdit.h"
#include "support/FrameIndexPattern.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cmath>
#include <map>

using namespace vistrel;

namespace {

constexpr double kEditRate = 25;

// What a format says of the cut, in the edit's frames: each segment with
// its crossfades, and where it names a moment of its file.
struct SeenSegment {
    std::string file;
    std::int64_t recordFirst = 0, recordEnd = 0, dissolveIn = 0;
    std::int64_t namedAt = 0;     // a record frame inside the segment
    double fileSecondsThere = 0;  // the file's moment the format gives for it
};
struct SeenCut {
    std::vector<SeenSegment> segments;
    std::int64_t fadeIn = 0, fadeOut = 0, frameCount = 0;
    std::string soundFile;
    std::int64_t soundAt = 0;  // a record frame under which the sound lies
    double soundSecondsThere = 0;
};

std::int64_t frames(double seconds) { return std::llround(seconds * kEditRate); }

// OTIO: items end to end, a transition reaching in_offset before and out_offset after its cut.
SeenCut readOtio(const QByteArray& bytes) {
    SeenCut cut;
    auto seconds = [](const QJsonValue& time) { return time["value"].toDouble() / time["rate"].toDouble(); };
    for (const QJsonValue track : QJsonDocument::fromJson(bytes)["tracks"]["children"].toArray()) {
        const QJsonArray items = track["children"].toArray();
        auto schemaAt = [&](qsizetype i) {
            return i < 0 || i >= items.size() ? QString() : items[i]["OTIO_SCHEMA"].toString();
        };
        std::int64_t at = 0;
        for (qsizetype i = 0; i < items.size(); ++i) {
            const QJsonValue item = items[i];
            if (schemaAt(i) == "Transition.1") {
                const std::int64_t length = frames(seconds(item["in_offset"]) + seconds(item["out_offset"]));
                if (schemaAt(i - 1) == "Gap.1") cut.fadeIn = length;
                if (schemaAt(i + 1) == "Gap.1") cut.fadeOut = length;
                continue;
            }
            const std::int64_t length = frames(seconds(item["source_range"]["duration"]));
            if (schemaAt(i) == "Clip.2") {
                const std::string file = QUrl(item["media_references"]["DEFAULT_MEDIA"]["target_url"].toString())
                                             .toLocalFile()
                                             .toStdString();
                const double start = seconds(item["source_range"]["start_time"]);
                if (track["kind"] == "Audio") {
                    cut.soundFile = file, cut.soundAt = at, cut.soundSecondsThere = start;
                } else {
                    SeenSegment seen{file, at, at + length, 0, at, start};
                    if (schemaAt(i - 1) == "Transition.1")
                        seen.recordFirst -= frames(seconds(items[i - 1]["in_offset"]));
                    if (schemaAt(i + 1) == "Transition.1")
                        seen.recordEnd += frames(seconds(items[i + 1]["out_offset"]));
                    if (schemaAt(i - 2) == "Clip.2")
                        seen.dissolveIn = at - seen.recordFirst + frames(seconds(items[i - 1]["out_offset"]));
                    cut.segments.push_back(seen);
                }
            }
            at += length;
            if (track["kind"] == "Video") cut.frameCount = at;
        }
    }
    return cut;
}

// FCPXML: "N/Ds" times; mc-clips at multicam times, each angle's file placed at an offset in the multicam.
SeenCut readFcpxml(const QByteArray& bytes) {
    auto seconds = [](QStringView text) {
        const auto parts = text.chopped(1).split(u'/');
        return parts[0].toDouble() / (parts.size() > 1 ? parts[1].toDouble() : 1.0);
    };
    struct Item {
        QString kind;
        double offset = 0, duration = 0, start = 0;
        QString video, sound;
    };
    std::map<QString, std::string> assets;                     // id to file
    std::map<QString, std::pair<std::string, double>> angles;  // angle to file and offset
    std::vector<Item> spine;
    QString asset, angle;
    QXmlStreamReader xml(bytes);
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (!xml.isStartElement()) continue;
        const auto a = xml.attributes();
        const QString name = xml.name().toString();
        if (name == "asset") asset = a.value("id").toString();
        if (name == "media-rep") assets[asset] = QUrl(a.value("src").toString()).toLocalFile().toStdString();
        if (name == "mc-angle") angle = a.value("angleID").toString();
        if (name == "asset-clip") angles[angle] = {assets[a.value("ref").toString()], seconds(a.value("offset"))};
        if (name == "gap" || name == "transition" || name == "mc-clip")
            spine.push_back({name,
                             seconds(a.value("offset")),
                             seconds(a.value("duration")),
                             a.hasAttribute("start") ? seconds(a.value("start")) : 0.0,
                             {},
                             {}});
        if (name == "mc-source")
            (a.value("srcEnable") == u"video" ? spine.back().video : spine.back().sound) =
                a.value("angleID").toString();
    }
    SeenCut cut;
    auto kindAt = [&](std::size_t i) { return i < spine.size() ? spine[i].kind : QString(); };
    for (std::size_t i = 0; i < spine.size(); ++i) {
        const Item& item = spine[i];
        cut.frameCount = std::max(cut.frameCount, frames(item.offset + item.duration));
        if (item.kind == "transition" && kindAt(i - 1) == "gap") cut.fadeIn = frames(item.duration);
        if (item.kind == "transition" && kindAt(i + 1) == "gap") cut.fadeOut = frames(item.duration);
        if (item.kind != "mc-clip") continue;
        const auto& [file, offset] = angles[item.video];
        SeenSegment seen{file, frames(item.offset), frames(item.offset + item.duration),
                         0,    frames(item.offset), item.start - offset};
        if (kindAt(i - 1) == "transition") seen.recordFirst = frames(spine[i - 1].offset);
        if (kindAt(i - 1) == "transition" && kindAt(i - 2) == "mc-clip")
            seen.dissolveIn = frames(spine[i - 1].duration);
        if (kindAt(i + 1) == "transition") seen.recordEnd = frames(spine[i + 1].offset + spine[i + 1].duration);
        cut.segments.push_back(seen);
        if (cut.soundFile.empty() && !item.sound.isEmpty())
            cut.soundFile = angles[item.sound].first, cut.soundAt = seen.namedAt,
            cut.soundSecondsThere = item.start - angles[item.sound].second;
    }
    return cut;
}

// CMX 3600: events of four timecodes at the edit's rate; a dissolve's incoming source on the event's last line.
SeenCut readEdl(const QByteArray& bytes) {
    static const QRegularExpression event(R"(^\d+\s+(\S+)\s+(\S+)\s+(C|D\s+(\d+))\s+(\S+) (\S+) (\S+) (\S+)\s*$)");
    auto frameOf = [](const QString& timecode) {
        const auto parts = timecode.split(QRegularExpression("[:;]"));
        return ((parts[0].toLongLong() * 60 + parts[1].toLongLong()) * 60 + parts[2].toLongLong()) * 25 +
               parts[3].toLongLong();
    };
    struct Line {
        QString reel, channel;
        std::int64_t dissolve, sourceIn, recordIn, recordOut;
        std::string file;
    };
    std::vector<Line> lines;
    for (const QByteArray& text : bytes.split('\n')) {
        const auto match = event.match(QString::fromUtf8(text).trimmed());
        if (match.hasMatch())
            lines.push_back({match.captured(1),
                             match.captured(2),
                             match.captured(4).toLongLong(),
                             frameOf(match.captured(5)),
                             frameOf(match.captured(7)),
                             frameOf(match.captured(8)),
                             {}});
        else if (text.startsWith("* SOURCE FILE: ") && !lines.empty())
            lines.back().file = text.mid(15).trimmed().toStdString();
    }
    SeenCut cut;
    std::vector<Line> video;
    for (const Line& line : lines) {
        if (line.channel == "AA")
            cut.soundFile = line.file, cut.soundAt = line.recordIn, cut.soundSecondsThere = line.sourceIn / kEditRate;
        else if (line.recordOut > line.recordIn)
            video.push_back(line);  // the outgoing side of a dissolve lasts no frame
    }
    for (std::size_t i = 0; i < video.size(); ++i) {
        const Line& line = video[i];
        cut.frameCount = std::max(cut.frameCount, line.recordOut);
        if (line.reel == "BL") {
            if (i > 0) cut.fadeOut = line.dissolve;
            continue;
        }
        const bool fromBlack = i > 0 && video[i - 1].reel == "BL";
        if (fromBlack) cut.fadeIn = line.dissolve;
        const std::int64_t end = i + 1 < video.size() ? video[i + 1].recordIn + video[i + 1].dissolve : line.recordOut;
        cut.segments.push_back(
            {line.file, line.recordIn, end, fromBlack ? 0 : line.dissolve, line.recordIn, line.sourceIn / kEditRate});
    }
    return cut;
}

struct ExportFormat {
    const char* extension;
    SeenCut (*read)(const QByteArray&);
    const char* cannotHold;  // what stderr says; empty: nothing
    bool soundRecording = false;
};
void PrintTo(const ExportFormat& format, std::ostream* out) { *out << format.extension; }

class ExportCut : public ::testing::TestWithParam<ExportFormat> {};

TEST_P(ExportCut, HoldsEverySegmentAtTheFramesTheEditShows) {
    QTemporaryDir folder;
    std::string reason;
    const auto edit = test::fourAngleEdit(folder.path().toStdString(), reason, GetParam().soundRecording);
    if (!edit) GTEST_SKIP() << reason;
    const QString exported = folder.filePath(QStringLiteral("cut.") + GetParam().extension);
    QProcess render;
    render.start(QStringLiteral(VISTREL_RENDER_PATH),
                 {QString::fromStdString(edit->script.string()), QStringLiteral("--export"), exported});
    ASSERT_TRUE(render.waitForFinished(120000));
    const std::string said = render.readAllStandardError().toStdString();
    ASSERT_EQ(render.exitCode(), 0) << said;
    EXPECT_EQ(said.empty(), std::string(GetParam().cannotHold).empty()) << said;
    EXPECT_NE(said.find(GetParam().cannotHold), std::string::npos) << said;
    QFile file(exported);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const SeenCut seen = GetParam().read(file.readAll());

    // The segments as the edit script cuts them: angles of 190, 200, 196 (240 at 30 fps, from 4) and 194 frames.
    const model::EditTiming timing{edit->content.switchPoints, 8, true};
    const auto segments = model::editSegments(timing, {190, 200, 196, 194});
    ASSERT_EQ(seen.segments.size(), segments.size());
    const engine::ClipPtr shown = engine::openClip(edit->script.string());
    const double fileRates[] = {25, 25, 30, 25};
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const model::EditSegment& expected = segments[i];
        const SeenSegment& segment = seen.segments[i];
        SCOPED_TRACE("segment " + std::to_string(i));
        EXPECT_EQ(segment.file, edit->cameraFiles[expected.angleRow]);
        EXPECT_EQ(segment.recordFirst, expected.editStart + 1) << "after the fade-in's black frame";
        EXPECT_EQ(segment.recordEnd, expected.editStart + 1 + expected.frameCount);
        EXPECT_EQ(segment.dissolveIn,
                  i == 0 ? 0 : segments[i - 1].editStart + segments[i - 1].frameCount - expected.editStart);
        const std::int64_t middle = segment.recordFirst + expected.frameCount / 2;
        const double rate = fileRates[expected.angleRow];
        const double named = (segment.fileSecondsThere + double(middle - segment.namedAt) / kEditRate) * rate;
        EXPECT_NEAR(named, test::readFrameIndex(*shown->frame(middle)), rate == kEditRate ? 0.01 : 1.0)
            << "the file's frame the edit shows at " << middle;
    }
    EXPECT_EQ(seen.fadeIn, 8);
    EXPECT_EQ(seen.fadeOut, 8);
    EXPECT_EQ(seen.frameCount, shown->info().frameCount);
    // Angle A's sound from its start frame on under the edit's first picture, or the recording from 1480 ms.
    EXPECT_EQ(seen.soundFile, edit->cameraFiles[GetParam().soundRecording ? 1 : 0]);
    EXPECT_NEAR(seen.soundSecondsThere, (GetParam().soundRecording ? 1.48 : 0.4) + double(seen.soundAt - 1) / kEditRate,
                0.001);
}

INSTANTIATE_TEST_SUITE_P(Formats, ExportCut,
                         ::testing::Values(ExportFormat{"otio", readOtio, ""}, ExportFormat{"fcpxml", readFcpxml, ""},
                                           ExportFormat{"edl", readEdl, "Angle C (cut-c30-"},
                                           ExportFormat{"otio", readOtio, "", true},
                                           ExportFormat{"fcpxml", readFcpxml, "", true},
                                           ExportFormat{"edl", readEdl, "Angle C (cut-c30-", true}),
                         [](const auto& info) {
                             return std::string(info.param.extension) + (info.param.soundRecording ? "_recording" : "");
                         });

}  // namespace
