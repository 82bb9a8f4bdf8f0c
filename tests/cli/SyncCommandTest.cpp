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
        for (const auto& angle : {test::soundAngle("a", 10), test::soundAngle("later21", 10.84), ac3,
                                  test::soundAngle("other-event", 10, 2)}) {
            std::string reason;
            const auto clip = test::soundAngleClip(angle, &reason);
            if (!clip) GTEST_SKIP() << reason;
            clips_ << QString::fromStdString(clip->string());
        }
    }

    QStringList clips_;
    QTemporaryDir folder_;
};

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

}  // namespace
