// vistrel-render as a user runs it: a real process, real scripts over
// generated clips, and the files it writes opened again with the engine.

#include "engine/Open.h"
#include "support/CameraMedia.h"
#include "support/FrameIndexPattern.h"
#include "support/TestMedia.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace vistrel;

namespace {

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class RenderCommand : public ::testing::Test {
protected:
    Outcome render(const QStringList& args) {
        QProcess process;
        process.start(QStringLiteral(VISTREL_RENDER_PATH), args);
        EXPECT_TRUE(process.waitForFinished(120000)) << "vistrel-render did not finish";
        return {process.exitCode(), process.readAllStandardOutput().toStdString(),
                process.readAllStandardError().toStdString()};
    }

    QString writeScript(const std::string& text, const QString& name = QStringLiteral("test.avs")) {
        const QString path = folder_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.c_str());
        return path;
    }

    // A script over the generated FFV1 clip (frames carry their index, sound is known).
    QString clipScript(const std::string& tail) {
        std::string reason;
        const auto media = test::testMedia(test::recipes::ffv1Avi(), &reason);
        if (!media) return {};
        return writeScript("avisource(\"" + media->string() + "\")" + tail + "\r\n");
    }

    // Starts a render with progress lines and returns once it has rendered a frame.
    void startUntilAFrame(QProcess& process, const QStringList& args) {
        process.start(QStringLiteral(VISTREL_RENDER_PATH), args + QStringList{QStringLiteral("--progress-lines")});
        while (process.waitForReadyRead(60000))
            while (process.canReadLine())
                if (process.readLine().startsWith("frame ")) return;
        ADD_FAILURE() << "no frame rendered: " << process.readAllStandardError().toStdString();
    }

    // The files in the folder, hidden ones too, by name.
    std::string folderFiles() const {
        return QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name).join(u' ').toStdString();
    }

    QTemporaryDir folder_;
};

engine::FramePtr frameOfImage(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    auto frame = engine::Frame::create(image.width(), image.height(), engine::PixelType::RGB32);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(frame->plane(0).row(y), image.constScanLine(y), size_t(image.width()) * 4);
    return frame;
}

}  // namespace

TEST_F(RenderCommand, InfoDescribesTheScriptsClip) {
    const QString script = clipScript(".trim(10,0)");
    if (script.isEmpty()) GTEST_SKIP() << "no test media here";
    const Outcome run = render({script, QStringLiteral("--info")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto source = engine::openClip(test::testMedia(test::recipes::ffv1Avi()).value().string());
    const engine::VideoInfo& in = source->info();
    const int64_t frames = in.frameCount - 10, samples = in.audioSamples - in.samplesBeforeFrame(10);
    char seconds[64];
    std::snprintf(seconds, sizeof seconds, "video_seconds: %.3f\naudio_seconds: %.3f\n", frames / 25.0,
                  double(samples) / in.audioRate);
    EXPECT_EQ(run.out, "width: 320\nheight: 240\nframes: " + std::to_string(frames) +
                           "\nfps: 25/1\npixel_type: YV12\naudio_rate: " + std::to_string(in.audioRate) +
                           "\naudio_channels: 2\naudio_samples: " + std::to_string(samples) + "\n" + seconds);
}

TEST_F(RenderCommand, InfoSaysWhenAVariableRateIsConformed) {
    const auto phone = test::testMedia(test::recipes::phoneVariableRateMp4());
    if (!phone) GTEST_SKIP() << "no test media here";
    const Outcome run = render({QString::fromStdString(phone->string()), QStringLiteral("--info")});
    EXPECT_NE(run.out.find("frames: 1200\nfps: 30/1\n"), std::string::npos) << run.out << run.err;
    EXPECT_TRUE(run.out.ends_with("\ntiming: variable, conformed to 30/1\n")) << run.out;
}

TEST_F(RenderCommand, ExitStatusTellsUsageFromScriptErrors) {
    EXPECT_EQ(render({}).exitCode, 2);
    EXPECT_EQ(render({QStringLiteral("x.avs"), QStringLiteral("--frames"), QStringLiteral("7")}).exitCode, 2);

    const QString broken = writeScript("blankclip()\r\nfoo()\r\n");
    const Outcome run = render({broken, QStringLiteral("--info")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Script error: There is no function named 'foo'.\n(" + broken.toStdString() + ", line 2)"),
              std::string::npos)
        << run.err;

    const Outcome missing = render({folder_.filePath(QStringLiteral("nothing-here.avs")), QStringLiteral("--info")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_FALSE(missing.err.empty());

    const Outcome badType =
        render({writeScript("blankclip()\r\n"), QStringLiteral("-o"), folder_.filePath(QStringLiteral("out.gif"))});
    EXPECT_EQ(badType.exitCode, 1);
    EXPECT_NE(badType.err.find("use .avi, .mkv, .mp4, .mov or .y4m"), std::string::npos) << badType.err;
}

TEST_F(RenderCommand, LosslessAviHoldsExactlyTheRenderedFramesAndSound) {
    const QString script = clipScript(".trim(20,0)");
    if (script.isEmpty()) GTEST_SKIP() << "no test media here";
    const QString out = folder_.filePath(QStringLiteral("out.avi"));
    const Outcome run = render({script, QStringLiteral("-o"), out, QStringLiteral("--frames"), QStringLiteral("0-9")});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    const auto written = engine::openClip(out.toStdString());
    const engine::VideoInfo& info = written->info();
    ASSERT_EQ(info.frameCount, 10);
    EXPECT_EQ(info.fps, (engine::Rational{25, 1}));
    for (int k = 0; k < 10; ++k) EXPECT_EQ(test::readFrameIndex(*written->frame(k)), 20 + k) << "frame " << k;

    ASSERT_TRUE(info.hasAudio());
    EXPECT_EQ(info.audioSamples, info.samplesBeforeFrame(10));
    const int64_t offset = info.samplesBeforeFrame(20);
    std::vector<int16_t> samples(size_t(info.audioSamples) * 2);
    written->audio(samples.data(), 0, info.audioSamples);
    for (int64_t s : {int64_t(0), info.audioSamples / 2, info.audioSamples - 1})
        for (int c = 0; c < 2; ++c)
            EXPECT_EQ(samples[size_t(s) * 2 + c], test::testSample(s + offset, c)) << "sample " << s;
}

TEST_F(RenderCommand, PngPicturesAreNamedByTheirFrameNumbers) {
    const QString script = clipScript(".converttorgb32()");
    if (script.isEmpty()) GTEST_SKIP() << "no test media here";
    const QString dir = folder_.filePath(QStringLiteral("frames"));
    const Outcome run =
        render({script, QStringLiteral("--png"), dir, QStringLiteral("--frames"), QStringLiteral("5-7")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(QDir(dir).entryList(QDir::Files).size(), 3);
    for (int k = 0; k < 3; ++k) {
        const QImage picture(QStringLiteral("%1/%2.png").arg(dir).arg(5 + k, 6, 10, QLatin1Char('0')));
        ASSERT_FALSE(picture.isNull()) << k;
        EXPECT_EQ(test::readFrameIndex(*frameOfImage(picture)), 5 + k);
    }
}

TEST_F(RenderCommand, EveryContainerOpensAgainWithItsFrames) {
    const QString script = clipScript(".trim(0,11)");
    if (script.isEmpty()) GTEST_SKIP() << "no test media here";
    for (const char* name : {"out.mkv", "out.mp4", "out.mov", "out.y4m"}) {
        const QString out = folder_.filePath(QString::fromLatin1(name));
        const Outcome run = render({script, QStringLiteral("-o"), out, QStringLiteral("-q")});
        ASSERT_EQ(run.exitCode, 0) << name << ": " << run.err;
        const auto written = engine::openClip(out.toStdString());
        EXPECT_EQ(written->info().frameCount, 12) << name;
        EXPECT_EQ(test::readFrameIndex(*written->frame(11)), 11) << name;
    }
}

TEST_F(RenderCommand, ProxyBuildsOnceWithProgressLinesAndNamesTheFile) {
    std::string reason;
    const auto media = test::testMedia(test::recipes::h264Mp4(), &reason);
    if (!media) GTEST_SKIP() << reason;
    qputenv("XDG_CACHE_HOME", folder_.path().toUtf8());
    const QString clip = QString::fromStdString(media->string());
    const Outcome first = render({QStringLiteral("--proxy"), clip, QStringLiteral("--progress-lines")});
    const Outcome second = render({QStringLiteral("--proxy"), clip});
    qunsetenv("XDG_CACHE_HOME");
    ASSERT_EQ(first.exitCode, 0) << first.err;
    const QStringList lines = QString::fromStdString(first.out).trimmed().split(u'\n');
    EXPECT_TRUE(lines.contains(QStringLiteral("frame 200 of 200"))) << first.out;
    const QString file = lines.last();
    EXPECT_TRUE(file.startsWith(folder_.path() + QStringLiteral("/vistrel/proxy/"))) << first.out;
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(second.out, file.toStdString() + "\n");
    EXPECT_NE(second.err.find("the proxy was complete"), std::string::npos) << second.err;
}

// For the window: progress as lines on stdout, and the video under a partial
// name of its own in the output's folder until it is complete.
TEST_F(RenderCommand, ProgressLinesAndAPartialFileUntilTheVideoIsComplete) {
    const QString script = clipScript("");
    if (script.isEmpty()) GTEST_SKIP() << "no test media here";
    const QString out = folder_.filePath(QStringLiteral("out.mp4"));
    QProcess process;
    process.start(QStringLiteral(VISTREL_RENDER_PATH),
                  {script, QStringLiteral("-o"), out, QStringLiteral("--progress-lines")});
    QStringList lines;
    QString partial;
    bool sawPartialOnly = false;
    while (process.waitForReadyRead(120000) || process.canReadLine()) {
        while (process.canReadLine()) {
            lines << QString::fromUtf8(process.readLine()).trimmed();
            if (lines.last().startsWith(QStringLiteral("writing "))) partial = lines.last().mid(8);
            if (lines.last().startsWith(QStringLiteral("frame ")) && !sawPartialOnly)
                sawPartialOnly = QFile::exists(partial) && !QFile::exists(out);
        }
    }
    ASSERT_TRUE(process.state() == QProcess::NotRunning || process.waitForFinished(120000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_TRUE(sawPartialOnly) << "while frames are rendered only the partial file exists";
    EXPECT_TRUE(QFile::exists(out));
    EXPECT_FALSE(QFile::exists(partial));
    EXPECT_EQ(QFileInfo(partial).dir(), QDir(folder_.path())) << partial.toStdString();

    const int64_t frames = engine::openClip(out.toStdString())->info().frameCount;
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.last(), QStringLiteral("frame %1 of %1").arg(frames));
    int64_t previous = 0;
    for (const QString& line : lines) {
        if (!line.startsWith(QStringLiteral("frame "))) continue;
        const int64_t done = line.section(u' ', 1, 1).toLongLong();
        EXPECT_GT(done, previous) << line.toStdString();
        EXPECT_EQ(line, QStringLiteral("frame %1 of %2").arg(done).arg(frames));
        previous = done;
    }
}

// Two renders to one output, the second started while the first writes,
// beside a file of the user's named like a partial one: each render replaces
// the output with its own whole video, and the user's file stays.
TEST_F(RenderCommand, TwoRendersToOneOutputEachWriteTheirOwnVideo) {
#ifndef Q_OS_UNIX
    GTEST_SKIP() << "the first render is paused with SIGSTOP";
#else
    const QString script = writeScript("blankclip(length=100000, width=320, height=240)\r\n");
    const QString out = folder_.filePath(QStringLiteral("out.mkv"));
    writeScript("a download", QStringLiteral("out.mkv.part"));
    QProcess first;
    startUntilAFrame(first, {script, QStringLiteral("-o"), out, QStringLiteral("--frames"), QStringLiteral("0-1999")});
    ::kill(static_cast<pid_t>(first.processId()), SIGSTOP);
    ASSERT_FALSE(QFile::exists(out)) << "the first render was paused before its end";
    const Outcome second =
        render({script, QStringLiteral("-o"), out, QStringLiteral("--frames"), QStringLiteral("0-9")});
    ASSERT_EQ(second.exitCode, 0) << second.err;
    EXPECT_EQ(engine::openClip(out.toStdString())->info().frameCount, 10);
    ::kill(static_cast<pid_t>(first.processId()), SIGCONT);
    ASSERT_TRUE(first.waitForFinished(120000));
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
    EXPECT_EQ(engine::openClip(out.toStdString())->info().frameCount, 2000);
    EXPECT_EQ(folderFiles(), "out.mkv out.mkv.part test.avs");
    EXPECT_EQ(QFile(out + QStringLiteral(".part")).size(), 10);
#endif
}

// The partial file's name fits beside an output name of the longest length,
// and a render interrupted by a signal leaves nothing behind.
TEST_F(RenderCommand, TheLongestOutputNameRendersAndAnInterruptedRenderLeavesNothing) {
    const QString script = writeScript("blankclip(length=100000, width=64, height=48)\r\n");
    const QString longest = QString(247, u'v') + QStringLiteral(".mkv");
    const Outcome run = render(
        {script, QStringLiteral("-o"), folder_.filePath(longest), QStringLiteral("--frames"), QStringLiteral("0-0")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    QProcess interrupted;
    startUntilAFrame(interrupted, {script, QStringLiteral("-o"), folder_.filePath(QStringLiteral("out.mkv"))});
    interrupted.terminate();
    ASSERT_TRUE(interrupted.waitForFinished(120000));
    EXPECT_EQ(folderFiles(), "test.avs " + longest.toStdString());
}
