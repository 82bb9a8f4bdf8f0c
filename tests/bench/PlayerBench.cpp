// The player as the user meets it, offscreen: a script played at normal
// speed (frames shown and dropped, CPU per second of video, peak memory), then
// "seek to" random frames timed until the frame is painted. Prints figures;
// asserts nothing.

#include "player/PlayerWnd.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include <sys/resource.h>

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

bool waitUntilOpen(player::PlayerWnd& player) {
    QElapsedTimer timer;
    timer.start();
    while (player.isOpening() && timer.elapsed() < 600000) QTest::qWait(20);
    return player.isOpen();
}

}  // namespace

int main(int argc, char** argv) {
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
    player.filename(QString::fromLocal8Bit(argv[1]));
    if (!waitUntilOpen(player)) {
        std::fprintf(stderr, "cannot open: %s\n", player.errorMessage().toLocal8Bit().constData());
        return 1;
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
    for (int i = 0; i < seeks; ++i) {
        const int64_t n = pick(random);
        QElapsedTimer timer;
        timer.start();
        player.sendcommand(QStringLiteral("seek to %1").arg(n));
        player.repaint();  // the frame is on screen once painted
        times.push_back(timer.nsecsElapsed() / 1e6);
        if (player.sendcommand(QStringLiteral("status position")) != QString::number(n))
            std::fprintf(stderr, "seek to %lld shows another frame\n", static_cast<long long>(n));
    }
    std::sort(times.begin(), times.end());
    std::printf("seek_median_ms: %.1f\nseek_p95_ms: %.1f\n", times[times.size() / 2],
                times[std::min(times.size() - 1, times.size() * 95 / 100)]);
    std::printf("peak_memory_mib: %.0f\n", peakMiB());
    return 0;
}
