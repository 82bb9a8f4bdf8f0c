// vistrel-sync as a user runs it: a real process over generated cameras of
// one made-up event, with the start frames known.
#include "cli/SyncCommand.h"
#include "support/SoundAngles.h"
#include "support/TestMedia.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <regex>

using namespace vistrel;

namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    std::string err;
};

Outcome runSync(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(VISTREL_SYNC_PATH), args);
    EXPECT_TRUE(process.waitForFinished(120000)) << "vistrel-sync did not finish";
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            process.readAllStandardError().toStdString()};
}

class SyncCommand : public ::testing::Test {
protected:
    void SetUp() override {
        // Angle A; B started 21 frames after it; C 67.25 frames before it,
        // in AC-3; D recorded another event.
        test::SoundAngle ac3 = test::soundAngle("earlier67-ac3", 7.31);
        ac3.encoder = "ac3";
        angles_ = {test::soundAngle("a", 10), test::soundAngle("later21", 10.84), ac3,
                   test::soundAngle("other-event", 10, 2)};
        for (const auto& angle : angles_) {
            VISTREL_SOUND_ANGLE_OR_SKIP(clip, angle);
            clips_ << QString::fromStdString(clip.string());
        }
    }

    std::vector<test::SoundAngle> angles_;
    QStringList clips_;
    QTemporaryDir folder_;
};

// A sound recorder started 6 s into the event, before every camera.
test::SoundAngle recorder(std::string encoder, std::string container) {
    std::string name = "recorder-" + container;
    return test::soundRecording(std::move(name), 6, std::move(encoder), std::move(container));
}

TEST_F(SyncCommand, PrintsALinePerAngleWithUnsureWhereTheSoundDoesNotMatch) {
    const Outcome run = runSync(clips_);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << run.out.toStdString();
    const QRegularExpression sure(
        QStringLiteral("^(B: start -21  offset -0\\.840|C: start 67  offset 2\\.690) s  "
                       "confidence 0\\.\\d\\d$"));
    EXPECT_TRUE(sure.match(lines[0]).hasMatch()) << lines[0].toStdString();
    EXPECT_TRUE(sure.match(lines[1]).hasMatch()) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("D: start "))) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral("  unsure"))) << lines[2].toStdString();
}

TEST_F(SyncCommand, JsonAndAScriptAsAngleA) {
    // The script starts angle A one second in: B's moment of A's frame 0 moves 25 frames on.
    const QString script = folder_.filePath(QStringLiteral("a.avs"));
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(("avisource(\"" + clips_[0].toStdString() + "\").trim(25, 0)\r\n").c_str());
    file.close();

    // As the editor runs it: progress lines first, then the report it reads back.
    const Outcome run = runSync({QStringLiteral("--json"), QStringLiteral("--progress-lines"), script, clips_[1]});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    QByteArray report;
    for (const QString& line : run.out.split('\n'))
        if (!line.startsWith(QStringLiteral("matching "))) report += line.toUtf8() + '\n';
    EXPECT_TRUE(run.out.contains(QStringLiteral("matching 1000 of 1000\n"))) << run.out.toStdString();
    const sync::MatchedAngles found = cli::readSyncReportJson(report);
    EXPECT_EQ(found.fpsA, (engine::Rational{25, 1}));
    ASSERT_EQ(found.angles.size(), 1u);
    const sync::AngleStart& b = found.angles[0];
    EXPECT_EQ(b.startFrame, 4);
    EXPECT_NEAR(b.match.offsetSeconds, 0.16, 0.001);
    EXPECT_EQ(b.fps, (engine::Rational{25, 1}));
    EXPECT_TRUE(b.sure());
    EXPECT_FALSE(b.driftSeconds);
    EXPECT_THROW(cli::readSyncReportJson(report.replace("25/1", "25/0")), std::runtime_error);
}

TEST_F(SyncCommand, ExitStatusTellsUsageFromClipsThatCannotBeMatched) {
    EXPECT_EQ(runSync({clips_[0]}).exitCode, 2);
    EXPECT_EQ(runSync({clips_[0], clips_[1], QStringLiteral("--max-offset"), QStringLiteral("soon")}).exitCode, 2);

    std::string reason;
    const auto silent = test::testMedia(test::recipes::silentAvi(), &reason);
    if (!silent) GTEST_SKIP() << reason;
    const Outcome noSound = runSync({clips_[0], QString::fromStdString(silent->string())});
    EXPECT_EQ(noSound.exitCode, 1);
    EXPECT_EQ(noSound.err, "'" + silent->string() + "' has no sound to match.\n");

    const Outcome missing = runSync({clips_[0], folder_.filePath(QStringLiteral("missing.mp4"))});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("The file does not exist."), std::string::npos) << missing.err;
}

TEST_F(SyncCommand, ASoundFileIsAClipWithoutPictureOrTheRecordingEveryAngleIsMatchedAgainst) {
    VISTREL_SOUND_ANGLE_OR_SKIP(recording, recorder("pcm_s16le", "wav"));
    const QString wav = QString::fromStdString(recording.string());
    const Outcome asClip = runSync({clips_[0], wav});
    ASSERT_EQ(asClip.exitCode, 0) << asClip.err;
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^B: sound only  offset 4\\.000 s  confidence 0\\.\\d\\d\n$"))
                    .match(asClip.out)
                    .hasMatch())
        << asClip.out.toStdString();

    // Angle A started 4 s after the recorder, B 4.84 s after: the recording
    // starts where B does, 21 frames into A.
    const Outcome asRecording = runSync({QStringLiteral("--sound"), wav, clips_[0], clips_[1]});
    ASSERT_EQ(asRecording.exitCode, 0) << asRecording.err;
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^recording: start 4\\.840 s\n"
                                                  "A: start 21  offset -4\\.000 s  confidence 0\\.\\d\\d\n"
                                                  "B: start 0  offset -4\\.840 s  confidence 0\\.\\d\\d\n$"))
                    .match(asRecording.out)
                    .hasMatch())
        << asRecording.out.toStdString();
    EXPECT_EQ(runSync({QStringLiteral("--sound"), wav}).exitCode, 2);
}

struct RecordingRow {
    std::string name;
    test::SoundAngle recording;
    size_t firstAngle = 0;  // a camera used as the recording is not also an angle
};

void PrintTo(const RecordingRow& row, std::ostream* out) { *out << row.name; }

class SyncToRecording : public SyncCommand, public ::testing::WithParamInterface<RecordingRow> {};

TEST_P(SyncToRecording, ReportsEachAngleAgainstTheRecordingAndWhereTheRecordingStarts) {
    const RecordingRow& row = GetParam();
    VISTREL_SOUND_ANGLE_OR_SKIP(file, row.recording);
    const QString recording = QString::fromStdString(file.string());
    QStringList args{QStringLiteral("--json"), QStringLiteral("--sound"), recording, QStringLiteral("--")};
    args << clips_.mid(static_cast<qsizetype>(row.firstAngle));
    const Outcome run = runSync(args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const sync::MatchedAngles found = cli::readSyncReportJson(run.out.toUtf8());
    ASSERT_TRUE(found.recording);
    EXPECT_EQ(found.recording->path, recording.toStdString());
    ASSERT_EQ(found.angles.size(), angles_.size() - row.firstAngle);

    // The recording starts where the sure angle that started last does.
    double start = 0;
    for (size_t i = row.firstAngle; i + 1 < angles_.size(); ++i)
        start = std::max(start, -test::expectedOffset(row.recording, angles_[i]));
    EXPECT_EQ(found.recording->startMs, std::llround(start * 1000));
    for (size_t i = row.firstAngle; i + 1 < angles_.size(); ++i) {
        const sync::AngleStart& angle = found.angles[i - row.firstAngle];
        const double offset = test::expectedOffset(row.recording, angles_[i]);
        EXPECT_NEAR(angle.match.offsetSeconds, offset, 0.001) << angles_[i].name;
        EXPECT_EQ(angle.startFrame, std::llround((start + offset) * 25)) << angles_[i].name;
        EXPECT_EQ(angle.fps, (engine::Rational{25, 1}));
        EXPECT_TRUE(angle.sure()) << angles_[i].name;
    }
    EXPECT_FALSE(found.angles.back().sure());
}

INSTANTIATE_TEST_SUITE_P(Recordings, SyncToRecording,
                         ::testing::Values(RecordingRow{"Wav", recorder("pcm_s16le", "wav")},
                                           RecordingRow{"AacInM4a", recorder("aac", "m4a")},
                                           RecordingRow{"Flac", recorder("flac", "flac")},
                                           RecordingRow{"CameraAsRecording", test::soundAngle("a", 10), 1}),
                         [](const auto& info) { return info.param.name; });

// Each row spoils one value of a good report: the message names it.
TEST(SyncReport, RefusesAValueItCannotUse) {
    const std::string good = R"({"recording": {"path": "rec.wav", "start_ms": 4840}, "angles": [{"angle": "A",
        "start_frame": 21, "offset_seconds": -4.0, "confidence": 0.98, "fps": "25/1", "drift_ppm": 12.5}]})";
    ASSERT_EQ(cli::readSyncReportJson(QByteArray::fromStdString(good)).angles[0].match.driftPpm, 12.5);
    for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{{"start_ms", "-1"},
                                                                                      {"start_ms", "4.5"},
                                                                                      {"path", "3"},
                                                                                      {"drift_ppm", "\"fast\""},
                                                                                      {"offset_seconds", "null"},
                                                                                      {"confidence", "2"},
                                                                                      {"start_frame", "\"21\""},
                                                                                      {"fps", "\"25\""}}) {
        const std::regex field("\"" + name + "\": [^,}]+");
        const std::string report = std::regex_replace(good, field, "\"" + name + "\": " + value);
        try {
            cli::readSyncReportJson(QByteArray::fromStdString(report));
            ADD_FAILURE() << "read " << name << ": " << value;
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(name), std::string::npos) << error.what();
        }
    }
}

}  // namespace
