// The real editor as a user starts it: with files on its command line, and
// killed with SIGKILL after an edit, when it offers the edit back as it starts
// again. Each run is a build/bin/vistrel process worked through its test
// hook (VISTREL_TEST_DRIVE).

#include "model/ModelFakes.h"
#include "ui/WindowTestKit.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>

namespace vistrel::ui::testing {
namespace {

using model::testing::readBytes;
using model::testing::writeBytes;
using Texts = std::vector<std::string>;

class Vistrel {
public:
    explicit Vistrel(const QString& home, const QStringList& files = {}) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_STATE_HOME", home + "/state");
        environment.insert("XDG_CACHE_HOME", home + "/cache");
        environment.insert("VISTREL_TEST_DRIVE", "1");
        process_.setProcessEnvironment(environment);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QCoreApplication::applicationDirPath() + "/vistrel", files);
    }
    // Sends one command and returns what it printed before its last line
    // ("ok"; "end" for "edit").
    std::string send(const std::string& command, const std::string& last = "ok") {
        process_.write((command + "\n").c_str());
        std::string printed;
        for (std::string line; line != last + "\n" && line.rfind("error", 0) != 0; printed += line) {
            while (!process_.canReadLine())
                if (!process_.waitForReadyRead(30'000)) return printed + "(no answer to " + command + ")";
            line = process_.readLine().toStdString();
        }
        return printed.substr(0, printed.rfind(last + "\n"));
    }
    QProcess& process() { return process_; }

private:
    QProcess process_;
};

// An edit script as Vistrel writes it, with a sound recording.
std::string savedEdit(const QTemporaryDir& home) {
    const std::string saved = home.filePath("saved.avs").toStdString();
    writeBytes(saved,
               "overlap=20\r\naudio=ffaudiosource(\"/gone/desk.flac\").delayaudio(-1.250)\r\n"
               "#-=-=-=-=-=-=-=-=-=angle A=-=-=-=-=-=-=-=-=-=-=-\r\n"
               "angleA=avisource(\"/gone/a.avi\").killaudio().trim(150,0)\r\n\r\n"
               "A0=angleA.trim(0,300)\r\nA1=angleA.trim(281,0)\r\n"
               "#-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=\r\n"
               "video=dissolve(A0, A1, overlap)\r\naudiodub(video,audio)\r\n\r\n\r\n");
    return saved;
}

// "vistrel saved.avs" opens the edit as "Open edit…" does: it is the
// script's, so quitting asks nothing; "vistrel b a" loads b as angle A.
TEST(EditorProcess, OpensTheFilesGivenOnItsCommandLine) {
    QTemporaryDir home;
    {
        Vistrel vistrel(home.path(), {QString::fromStdString(savedEdit(home))});
        const std::string edit = vistrel.send("edit", "end");
        EXPECT_NE(edit.find("audio=ffaudiosource(\"/gone/desk.flac\").delayaudio(-1.250)\n"), std::string::npos);
        EXPECT_NE(edit.find("points\n00000000|A\n00000300|A\n"), std::string::npos) << edit;
        ASSERT_EQ(vistrel.send("menu Quit"), "");
        ASSERT_TRUE(vistrel.process().waitForFinished());
        EXPECT_EQ(vistrel.process().exitCode(), 0);
    }
    std::string skipReason;
    const auto a = test::testMedia(angleClipRecipe("given-a"), &skipReason);
    const auto b = test::testMedia(angleClipRecipe("given-b"), &skipReason);
    if (!a || !b) GTEST_SKIP() << skipReason;
    const auto absoluteB = std::filesystem::absolute(*b).string(), absoluteA = std::filesystem::absolute(*a).string();
    Vistrel vistrel(home.path(), {QString::fromStdString(absoluteB), QString::fromStdString(absoluteA)});
    const std::string edit = vistrel.send("edit", "end");
    EXPECT_NE(edit.find("angleA=avisource(\"" + absoluteB + "\")"), std::string::npos) << edit;
    EXPECT_NE(edit.find("angleB=avisource(\"" + absoluteA + "\")"), std::string::npos) << edit;
    ASSERT_EQ(vistrel.send("menu Quit"), "");
    EXPECT_TRUE(vistrel.process().waitForFinished());
}

TEST(RecoveryProcess, AnEditKilledWithSigkillIsOfferedBackByTheNextRun) {
    QTemporaryDir home;
    const std::string kept = home.filePath("state/vistrel/edit.avs").toStdString();
    const std::string saved = savedEdit(home);
    std::string before;
    {
        Vistrel first(home.path());
        for (const auto& command : Texts{"menu Open edit…", "answer " + saved, "click Command4", "click Check2"})
            ASSERT_EQ(first.send(command), "") << command;
        before = first.send("edit", "end");
        ASSERT_NE(before.find("audio=ffaudiosource(\"/gone/desk.flac\").delayaudio(-1.250)\n"), std::string::npos)
            << "the sound recording opened with the edit";
        ASSERT_NE(before.find("fadeout(overlap)\npoints\n00000000|A\n00000000|A\n00000300|A\n"), std::string::npos)
            << before;
        std::string keptBytes;
        for (char c : before.substr(0, before.find("points\n"))) keptBytes += c == '\n' ? "\r\n" : std::string(1, c);
        ASSERT_TRUE(QTest::qWaitFor([&] { return readBytes(kept) == keptBytes; }, 10'000)) << "kept while it runs";
        ::kill(static_cast<pid_t>(first.process().processId()), SIGKILL);
        ASSERT_TRUE(first.process().waitForFinished());
    }

    Vistrel second(home.path());
    ASSERT_EQ(second.send("answer Restore"), "") << "the question comes at start";
    EXPECT_EQ(second.send("edit", "end"), before);
    ASSERT_EQ(second.send("menu Quit"), "");
    ASSERT_EQ(second.send("answer Discard"), "") << "the restored edit is in no saved script";
    ASSERT_TRUE(second.process().waitForFinished());
    EXPECT_EQ(second.process().exitCode(), 0);
    EXPECT_FALSE(std::filesystem::exists(kept)) << "a normal close removes the kept edit";
}

}  // namespace
}  // namespace vistrel::ui::testing
