// Real files whose index is still being built while the player opens them
// again or gives them up: one build per file at a time, and none for an open
// nobody waits for. The first build is held at its first progress report.
#include "player/FakeFiles.h"
#include "player/PlayerProbe.h"
#include "player/PlayerWnd.h"

#include "engine/Open.h"
#include "support/TestMedia.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using namespace vistrel;
using namespace vistrel::test;

namespace {

class IndexBuilds : public ::testing::Test {
protected:
    QTemporaryDir indexFolder;
    Gate gate;
    std::mutex mutex;
    std::vector<std::vector<int64_t>> reports;  // per open, the `done` of each progress report
    std::unique_ptr<player::PlayerWnd> player;

    void SetUp() override {
        player::PlaybackDependencies dependencies;
        dependencies.openWait = 20ms;
        dependencies.open = [this](const QString& path, const engine::IndexProgress& progress) {
            engine::OpenOptions options;
            options.indexFolder = indexFolder.path().toStdString();
            size_t open = 0;
            {
                std::lock_guard lock(mutex);
                open = reports.size();
                reports.emplace_back();
            }
            options.indexProgress = [this, open, progress](int64_t done, int64_t total) {
                if (record(open, done) == 1 && open == 0) gate.wait();
                progress(done, total);
            };
            return engine::openClip(path.toStdString(), options);
        };
        player = std::make_unique<player::PlayerWnd>(std::move(dependencies));
    }
    void TearDown() override {
        gate.release();
        player.reset();
        player::ClipOpener::finishAbandonedOpens();
    }

    size_t record(size_t open, int64_t done) {
        std::lock_guard lock(mutex);
        reports[open].push_back(done);
        return reports[open].size();
    }
    std::vector<int64_t> reportsOf(size_t open) {
        std::lock_guard lock(mutex);
        return open < reports.size() ? reports[open] : std::vector<int64_t>{};
    }
    void openHeld(const std::filesystem::path& file) {
        player->filename(QString::fromStdString(file.string()));
        while (!gate.holding()) runEventLoop(5ms);
    }
    int storedIndexes() { return QDir(indexFolder.path()).entryList({"*.ffindex"}).size(); }
};

TEST_F(IndexBuilds, AnOpenGivenUpStopsBuildingItsIndex) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::ffv1Avi());
    openHeld(file);
    player->filename("");
    gate.release();
    player::ClipOpener::finishAbandonedOpens();
    EXPECT_EQ(storedIndexes(), 0);
}

// "preview" pressed again: the second open of the file waits for the first
// one's build, hearing how it goes, and that build goes on for it.
TEST_F(IndexBuilds, OpeningTheFileAgainWaitsForTheBuildInProgress) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::ffv1Avi());
    openHeld(file);
    const int64_t held = reportsOf(0).front();
    player->filename(QString::fromStdString(file.string()));
    while (reportsOf(1).size() < 3 && !player->isOpen()) runEventLoop(5ms);
    const std::vector<int64_t> whileHeld = reportsOf(1);
    EXPECT_FALSE(player->isOpen());
    EXPECT_EQ(whileHeld, std::vector<int64_t>(whileHeld.size(), held)) << "a second build beside the first";
    gate.release();
    ASSERT_TRUE(waitUntilOpened(*player));
    EXPECT_TRUE(player->isOpen()) << player->errorMessage().toStdString();
    const std::vector<int64_t> heard = reportsOf(1);
    EXPECT_TRUE(std::is_sorted(heard.begin(), heard.end())) << "the build started over";
    EXPECT_EQ(storedIndexes(), 1);
}

}  // namespace
