// vistrel-render over hostile files, as a real process with a time limit:
// a file it cannot use ends with exit status 1 and a message that names the
// file; a file it can use renders to the end with status 0. Never a crash,
// never a hang.
#include "support/HostileMedia.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>

using namespace vistrel::test;

namespace {

namespace fs = std::filesystem;

constexpr int kTimeLimitMs = 60000;

struct Outcome {
    bool finished = false;
    QProcess::ExitStatus status = QProcess::CrashExit;
    int exitCode = -1;
    std::string err;
};

class HostileRenderTest : public ::testing::TestWithParam<HostileCase> {
protected:
    fs::path scratch() const { return folder_.path().toStdString(); }

    Outcome render(const fs::path& input) {
        QProcess process;
        QStringList env = QProcess::systemEnvironment();
        env << "XDG_CACHE_HOME=" + QString::fromStdString((scratch() / "cache").string());
        process.setEnvironment(env);
        process.start(QStringLiteral(VISTREL_RENDER_PATH),
                      {QString::fromStdString(input.string()), QStringLiteral("--null"), QStringLiteral("--quiet")});
        Outcome outcome;
        outcome.finished = process.waitForFinished(kTimeLimitMs);
        if (!outcome.finished) {
            process.kill();
            process.waitForFinished();
        }
        outcome.status = process.exitStatus();
        outcome.exitCode = process.exitCode();
        outcome.err = process.readAllStandardError().toStdString();
        return outcome;
    }

    void expectRefusedOrRendered(const HostileCase& hostile, const fs::path& file, const Outcome& run) {
        ASSERT_TRUE(run.finished) << "vistrel-render took longer than " << kTimeLimitMs / 1000 << " s";
        ASSERT_EQ(run.status, QProcess::NormalExit) << "vistrel-render crashed: " << run.err;
        if (run.exitCode == 0) {
            EXPECT_NE(hostile.outcome, HostileOutcome::Refused) << "rendered a file that should be refused";
            return;
        }
        EXPECT_EQ(run.exitCode, 1) << run.err;
        EXPECT_NE(hostile.outcome, HostileOutcome::Opens) << run.err;
        EXPECT_NE(run.err.find(file.string()), std::string::npos) << run.err;
    }

    QTemporaryDir folder_;
};

TEST_P(HostileRenderTest, TheFileItselfRendersOrIsRefusedByName) {
    const HostileCase& hostile = GetParam();
    VISTREL_HOSTILE_MEDIA_OR_SKIP(file, hostile, scratch());
    expectRefusedOrRendered(hostile, file, render(file));
}

TEST_P(HostileRenderTest, AScriptOverItRendersOrIsRefusedByName) {
    const HostileCase& hostile = GetParam();
    VISTREL_HOSTILE_MEDIA_OR_SKIP(file, hostile, scratch());
    const fs::path script = scratch() / "edit.avs";
    std::ofstream(script, std::ios::binary) << "overlap=20\r\nangleA=avisource(\"" << file.string()
                                            << "\").killaudio().trim(0,0)\r\nangleA.fadein(overlap)\r\n";
    expectRefusedOrRendered(hostile, file, render(script));
}

INSTANTIATE_TEST_SUITE_P(EveryCase, HostileRenderTest, ::testing::ValuesIn(hostileCases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
