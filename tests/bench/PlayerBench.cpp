// The player as the user meets it, offscreen: a script played at normal
// speed (frames shown and dropped, CPU per second of video, peak memory);
// "seek to" random frames timed until the frame is painted, while paused and
// while playing, with the longest time the window could not repaint meanwhile; and frames dropped while the rate slider
// is dragged during play. Prints figures; asserts nothing.

#include "player/ClipOpener.h"
#include "player/PlayerWnd.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <random>
#include <sys/resource.h>
#include <vector>

using namespace vistrel;

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double peakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double percentile95(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[std::min(times.size() - 1, times.size() * 95 / 100)];
}

// The longest time the event loop went without running, as a 5 ms timer
// sees it: how long the window could not repaint.
class StallMeter {
public:
    StallMeter() {
        ticks_.setInterval(5);
        QObject::connect(&ticks_, &QTimer::timeout, [this] {
            longest_ = std::max(longest_, clock_.nsecsElapsed() / 1e6);
            clock_.restart();
        });
        clock_.start();
        ticks_.start();
    }
    double longestMs() const { return longest_; }

private:
    QTimer ticks_;
    QElapsedTimer clock_;
    double longest_ = 0;
};

// "seek to n", timed until frame n is painted.
double timedSeek(player::PlayerWnd& player, int64_t n) {
    QElapsedTimer timer;
    timer.start();
    player.sendcommand(QStringLiteral("seek to %1").arg(n));
    while (player.isSeeking()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    player.repaint();  // the frame is on screen once painted
    const double ms = timer.nsecsElapsed() / 1e6;
    if (player.sendcommand(QStringLiteral("status position")) != QString::number(n))
        std::fprintf(stderr, "seek to %lld shows another frame\n", static_cast<long long>(n));
    return ms;
}

bool waitUntilOpen(player::PlayerWnd& player) {
    QElapsedTimer timer;
    timer.start();
    while (player.isOpening() && timer.elapsed() < 600000) QTest::qWait(20);
    return player.isOpen();
}

}  // namespace

int main(int argc, char** argv) {
    player::limitHeapArenas();  // as the editor does
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SCRIPT [SECONDS] [SEEKS] [RATE]\n", argv[0]);
        return 2;
    }
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 30;
    const int seeks = argc > 3 ? std::atoi(argv[3]) : 40;
    const int rate = argc > 4 ? std::atoi(argv[4]) : 1000;  // the slider's value: 2000 plays twice as fast

    player::PlayerWnd player;
    player.resize(704, 146);
    player.show();
    {
        // Opening decodes the first frame (each angle's start frame) off the UI thread.
        const StallMeter stalls;
        QElapsedTimer timer;
        timer.start();
        player.filename(QString::fromLocal8Bit(argv[1]));
        if (!waitUntilOpen(player)) {
            std::fprintf(stderr, "cannot open: %s\n", player.errorMessage().toLocal8Bit().constData());
            return 1;
        }
        player.repaint();
        const double openMs = timer.nsecsElapsed() / 1e6;
        QTest::qWait(10);  // a tick after the paint, for the stall meter
        std::printf("open_ms: %.1f\nopen_longest_window_stall_ms: %.1f\n", openMs, stalls.longestMs());
    }

    player.rate(rate);
    const double cpuBefore = cpuSeconds();
    player.play();
    QTest::qWait(seconds * 1000);
    player.stop();
    const double cpu = cpuSeconds() - cpuBefore;
    const auto stats = player.stats();
    std::printf("play_seconds: %d\nframes_shown: %lld\nframes_dropped: %lld\n", seconds,
                static_cast<long long>(stats.shown), static_cast<long long>(stats.dropped));
    std::printf("cpu_seconds_per_video_second: %.3f\n", cpu / (seconds * rate / 1000.0));
    player.rate(1000);
    if (seeks <= 0) {
        std::printf("peak_memory_mib: %.0f\n", peakMiB());
        return 0;
    }

    std::mt19937 random(20261207);
    std::uniform_int_distribution<int64_t> pick(0, player.frameCount() - 1);
    std::vector<double> times;
    const StallMeter stalls;
    for (int i = 0; i < seeks; ++i) times.push_back(timedSeek(player, pick(random)));
    std::printf("seek_median_ms: %.1f\nseek_p95_ms: %.1f\n", median(times), percentile95(times));

    // A seek while playing lands while every angle is reading ahead in order.
    const int64_t lastStart = std::max<int64_t>(player.frameCount() - 200, 0);
    times.clear();
    for (int i = 0; i < seeks; ++i) {
        player.sendcommand(QStringLiteral("seek to %1").arg(std::min(pick(random), lastStart)));
        player.play();
        QTest::qWait(500);
        times.push_back(timedSeek(player, std::min(pick(random), lastStart)));
    }
    player.stop();
    std::printf("seek_playing_median_ms: %.1f\nseek_playing_p95_ms: %.1f\n", median(times), percentile95(times));
    std::printf("seek_longest_window_stall_ms: %.1f\n", stalls.longestMs());

    // The rate slider dragged to and fro while playing, a step every 50 ms:
    // the frames shown meanwhile and the CPU time each took, against those of
    // the plain play (CPU time says how much decoding was thrown away even
    // when other programs leave the player little of the machine).
    player.sendcommand(QStringLiteral("seek to 0"));
    const auto before = player.stats();
    const double dragCpuBefore = cpuSeconds();
    player.play();
    QElapsedTimer dragging;
    dragging.start();
    for (int step = 0; dragging.elapsed() < seconds * 1000 / 3; ++step) {
        player.rate(step % 2 ? 1000 : 990);
        QTest::qWait(50);
    }
    player.stop();
    const auto after = player.stats();
    const double dragCpu = cpuSeconds() - dragCpuBefore;
    std::printf("rate_drag_frames_shown: %lld\nrate_drag_frames_dropped: %lld\n",
                static_cast<long long>(after.shown - before.shown),
                static_cast<long long>(after.dropped - before.dropped));
    const double playCpuPerFrame = cpu / std::max<double>(double(stats.shown), 1.0);
    const double dragCpuPerFrame = dragCpu / std::max<double>(double(after.shown - before.shown), 1.0);
    std::printf("rate_drag_cpu_per_frame_vs_play: %.2f\n", dragCpuPerFrame / playCpuPerFrame);
    std::printf("peak_memory_mib: %.0f\n", peakMiB());
    return 0;
}
