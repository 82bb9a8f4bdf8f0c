// A real file whose index is being built while the player opens it again
// ("preview" pressed twice) and then gives it up: one build at a time, and
// none once nobody waits for it. The first build is held at its first report.
#include "engine/Open.h"
#include "player/FakeFiles.h"
#include "player/PlayerProbe.h"
#include "player/PlayerWnd.h"
#include "support/TestMedia.h"

#include <QDir>
#include <QTemporaryDir>

using namespace std::chrono_literals;
using namespace vistrel;
using namespace vistrel::test;

namespace {

TEST(IndexBuilds, ASecondOpenWaitsForTheBuildInProgressAndAnOpenGivenUpStopsIt) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::ffv1Avi());
    QTemporaryDir indexFolder;
    Gate gate;
    std::mutex mutex;
    std::vector<std::vector<int64_t>> reports;  // per open, the `done` of each progress report
    auto reportsOf = [&](size_t open) {
        std::lock_guard lock(mutex);
        return open < reports.size() ? reports[open] : std::vector<int64_t>{};
    };
    player::PlaybackDependencies dependencies;
    dependencies.openWait = 20ms;
    dependencies.open = [&](const QString& path, const engine::IndexProgress& progress) {
        engine::OpenOptions options;
        options.indexFolder = indexFolder.path().toStdString();
        std::unique_lock lock(mutex);
        options.indexProgress = [&, open = reports.size(), progress](int64_t done, int64_t total) {
            std::unique_lock lock(mutex);
            reports[open].push_back(done);
            if (open == 0 && reports[0].size() == 1) {
                lock.unlock();
                gate.wait();
            }
            progress(done, total);
        };
        reports.emplace_back();
        lock.unlock();
        return engine::openClip(path.toStdString(), options);
    };
    auto player = std::make_unique<player::PlayerWnd>(std::move(dependencies));
    const QString path = QString::fromStdString(file.string());
    player->filename(path);
    while (!gate.holding()) runEventLoop(5ms);

    player->filename(path);
    while (reportsOf(1).size() < 2) runEventLoop(5ms);
    const std::vector<int64_t> heard = reportsOf(1);
    EXPECT_EQ(heard, std::vector<int64_t>(heard.size(), reportsOf(0).front())) << "a second build beside the first";

    player->filename("");
    while (reportsOf(1).size() == heard.size()) runEventLoop(5ms);  // the second open hears it is given up
    gate.release();
    player.reset();
    player::ClipOpener::finishAbandonedOpens();
    EXPECT_TRUE(QDir(indexFolder.path()).entryList({"*.ffindex"}).isEmpty()) << "a build nobody waits for";
}

}  // namespace
