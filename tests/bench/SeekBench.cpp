// Random access as the player meets it: frame(n) at random n in one clip (or
// script), against the time to decode one group of pictures from its
// keyframe; and a jump to a keyframe right after frames were read in order
// (as while playing, when a stack of angles reads ahead) against the same
// jump right after another jump. Prints figures; asserts nothing.

#include "engine/Open.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

using namespace vistrel;
using Clock = std::chrono::steady_clock;

namespace {

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

engine::ClipPtr openUncached(const std::string& path) {
    engine::OpenOptions options;
    options.cacheBudgetBytes = 0;  // every request decodes
    return engine::openClip(path, options);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s CLIP GOP_LENGTH [REQUESTS]\n", argv[0]);
        return 2;
    }
    const std::string path = argv[1];
    const int gop = std::stoi(argv[2]);
    const int requests = argc > 3 ? std::stoi(argv[3]) : 60;

    // One GOP decoded straight through from a keyframe, on a fresh clip.
    auto sequential = openUncached(path);
    auto start = Clock::now();
    for (int n = 0; n < gop; ++n) sequential->frame(n);
    const double gopMs = millisecondsSince(start);

    auto clip = openUncached(path);
    const int64_t frames = clip->info().frameCount;
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int64_t> pick(0, frames - 1);
    std::vector<double> times;
    for (int i = 0; i < requests; ++i) {
        const int64_t n = pick(random);
        start = Clock::now();
        clip->frame(n);
        times.push_back(millisecondsSince(start));
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    const double p95 = times[std::min(times.size() - 1, times.size() * 95 / 100)];
    std::printf("gop_decode_ms: %.1f\nrandom_median_ms: %.1f\nrandom_p95_ms: %.1f\n", gopMs, median, p95);
    std::printf("random_median_vs_gop: %.2f\nrandom_p95_vs_gop: %.2f\n", median / gopMs, p95 / gopMs);

    std::uniform_int_distribution<int64_t> pickKeyframe(0, std::max<int64_t>(frames / gop, 1) - 1);
    std::uniform_int_distribution<int64_t> pickStart(0, std::max<int64_t>(frames - 12, 0));
    std::vector<double> afterReading, afterJump;
    for (int i = 0; i < requests; ++i) {
        const int64_t from = pickStart(random);
        for (int64_t n = from; n < from + 8; ++n) clip->frame(n);
        start = Clock::now();
        clip->frame(pickKeyframe(random) * gop);
        afterReading.push_back(millisecondsSince(start));
        start = Clock::now();
        clip->frame(pickKeyframe(random) * gop);
        afterJump.push_back(millisecondsSince(start));
    }
    std::sort(afterReading.begin(), afterReading.end());
    std::sort(afterJump.begin(), afterJump.end());
    const double jumpMedian = afterJump[afterJump.size() / 2];
    std::printf("keyframe_after_reading_median_ms: %.1f\nkeyframe_after_jump_median_ms: %.1f\n",
                afterReading[afterReading.size() / 2], jumpMedian);
    std::printf("keyframe_after_reading_vs_after_jump: %.2f\n", afterReading[afterReading.size() / 2] / jumpMedian);
    return 0;
}
