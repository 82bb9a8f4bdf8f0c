// The playback clock: exact frame times at rational rates and any speed.
#include "player/PlaybackClock.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using vistrel::engine::Rational;
using vistrel::player::PlaybackClock;

namespace {

class PlaybackClockTest : public ::testing::Test {
protected:
    PlaybackClock clock;
    const PlaybackClock::Time t0 = 5s;  // any moment: the clock counts from its start
};

TEST_F(PlaybackClockTest, NtscFramesFallDueAtTheirExactTimes) {
    clock.start(0, Rational{30000, 1001}, 1000, t0);
    // Frame 30000 of a 30000/1001 clip is due exactly 1001 seconds in.
    EXPECT_EQ(clock.dueFrame(t0 + 1001s), 30000);
    EXPECT_EQ(clock.dueFrame(t0 + 1001s - 1ns), 29999);
    EXPECT_EQ(clock.dueTime(30000), t0 + 1001s);
}

TEST_F(PlaybackClockTest, CountsFromTheStartFrame) {
    clock.start(100, Rational{25, 1}, 1000, t0);
    EXPECT_EQ(clock.dueFrame(t0), 100);
    EXPECT_EQ(clock.dueFrame(t0 + 39ms), 100);
    EXPECT_EQ(clock.dueFrame(t0 + 40ms), 101);
    EXPECT_EQ(clock.dueTime(125), t0 + 1s);
}

TEST_F(PlaybackClockTest, DoubleSpeedHalvesEveryFrameTime) {
    clock.start(0, Rational{25, 1}, 2000, t0);
    EXPECT_EQ(clock.dueFrame(t0 + 1s), 50);
    EXPECT_EQ(clock.dueTime(1), t0 + 20ms);
}

TEST_F(PlaybackClockTest, HalfSpeed) {
    clock.start(0, Rational{24, 1}, 500, t0);
    EXPECT_EQ(clock.dueFrame(t0 + 1s), 12);
}

TEST_F(PlaybackClockTest, RateZeroHolds) {
    clock.start(42, Rational{25, 1}, 0, t0);
    EXPECT_TRUE(clock.holds());
    EXPECT_EQ(clock.dueFrame(t0 + 1000s), 42);
    EXPECT_EQ(clock.dueTime(43), std::nullopt);
}

TEST_F(PlaybackClockTest, NegativeRateHolds) {
    clock.start(7, Rational{25, 1}, -1000, t0);
    EXPECT_EQ(clock.dueFrame(t0 + 10s), 7);
}

TEST_F(PlaybackClockTest, ClipWithoutFrameRateHolds) {
    clock.start(3, Rational{0, 1}, 1000, t0);
    EXPECT_EQ(clock.dueFrame(t0 + 10s), 3);
}

TEST_F(PlaybackClockTest, TimeBeforeTheStartGivesTheStartFrame) {
    clock.start(10, Rational{25, 1}, 1000, t0);
    EXPECT_EQ(clock.dueFrame(t0 - 1s), 10);
}

TEST_F(PlaybackClockTest, NoDriftAfterHoursAtAnAwkwardRate) {
    // The rate BlankClip gives a 30000/1001 template: ~29.97 fps with a large denominator.
    const Rational awkward{15712927, 524288};
    clock.start(0, awkward, 1000, t0);
    const auto tenHours = 36000s;
    // 36000 * 15712927 / 524288 = 1078921.07... frames.
    EXPECT_EQ(clock.dueFrame(t0 + tenHours), 1078921);
    // Every frame time maps back to its own frame, not to a neighbour.
    for (int64_t f : {1, 2, 1000, 999999, 1078921}) {
        const auto due = clock.dueTime(f);
        ASSERT_TRUE(due);
        EXPECT_EQ(clock.dueFrame(*due), f);
        EXPECT_EQ(clock.dueFrame(*due - 1ns), f - 1);
    }
}

TEST_F(PlaybackClockTest, VeryFastRateDoesNotOverflow) {
    clock.start(0, Rational{60000, 1001}, 100000, t0);
    // 100x at ~59.94 fps over 24 hours: about 518 million frames, still exact to the frame.
    EXPECT_EQ(clock.dueFrame(t0 + 86400s), int64_t(86400) * 60000 * 100 / 1001);
}

}  // namespace
