#include "TestClips.h"
#include "engine/filters/FunctionTable.h"
#include "engine/filters/StackHorizontal.h"
#include "support/Watchdog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>

using namespace vistrel::engine;
using namespace vistrel::test;

namespace {

ClipPtr counting(int w, int64_t frames, int base, PixelType type = PixelType::RGB32) {
    return flatClip(videoInfo(w, 4, type, frames), [base](int64_t n) { return uint8_t(base + n); });
}

TEST(StackHorizontal, WidthsAddUpAndTheLongestClipSetsTheLength) {
    StackHorizontal s({counting(8, 5, 0), counting(6, 8, 100)});
    EXPECT_EQ(s.info().width, 14);
    EXPECT_EQ(s.info().height, 4);
    EXPECT_EQ(s.info().frameCount, 8);
}

TEST(StackHorizontal, ShorterClipHoldsItsLastFrame) {
    StackHorizontal s({counting(8, 5, 0), counting(6, 8, 100)});
    FramePtr f = s.frame(7);
    EXPECT_EQ(byteAt(*f, 0, 0, 0), 4) << "frame 4 of the 5-frame clip";
    EXPECT_EQ(byteAt(*f, 0, 8 * 4, 3), 107);
}

TEST(StackHorizontal, ClipsSitLeftToRight) {
    StackHorizontal s({counting(2, 3, 10), counting(3, 3, 20), counting(1, 3, 30)});
    FramePtr f = s.frame(1);
    EXPECT_EQ(byteAt(*f, 0, 7, 2), 11);
    EXPECT_EQ(byteAt(*f, 0, 8, 2), 21);
    EXPECT_EQ(byteAt(*f, 0, 19, 2), 21);
    EXPECT_EQ(byteAt(*f, 0, 20, 2), 31);
}

TEST(StackHorizontal, Yv12ChromaPlanesAreStackedToo) {
    auto left = std::make_shared<PatternClip>(videoInfo(4, 4, PixelType::YV12, 1),
                                              [](int64_t, int p) { return uint8_t(10 + p); });
    auto right = std::make_shared<PatternClip>(videoInfo(6, 4, PixelType::YV12, 1),
                                               [](int64_t, int p) { return uint8_t(20 + p); });
    StackHorizontal s({left, right});
    FramePtr f = s.frame(0);
    EXPECT_EQ(byteAt(*f, 1, 1, 1), 11);
    EXPECT_EQ(byteAt(*f, 1, 2, 1), 21);
    EXPECT_EQ(byteAt(*f, 2, 4, 0), 22);
}

TEST(StackHorizontal, RateAndSoundComeFromTheFirstClip) {
    auto first = constantClip(withAudio(videoInfo(4, 4, PixelType::RGB32, 10, {25, 1}), 48000, 2, SampleType::Int16), 0,
                              [](int64_t s, int c) { return double(s + c); });
    auto second = constantClip(withAudio(videoInfo(4, 4, PixelType::RGB32, 20, {30, 1}), 44100, 1, SampleType::Int16),
                               0, [](int64_t, int) { return 5.0; });
    StackHorizontal s({first, second});
    EXPECT_EQ(s.info().fps, (Rational{25, 1}));
    EXPECT_EQ(s.info().audioRate, 48000);
    EXPECT_EQ(s.info().channels, 2);
    EXPECT_EQ(s.info().audioSamples, first->info().audioSamples);
    EXPECT_EQ(readSamples<int16_t>(s, 100, 1), (std::vector<int16_t>{100, 101}));
}

TEST(StackHorizontal, NoSoundWhenTheFirstClipHasNone) {
    auto second = constantClip(withAudio(videoInfo(4, 4, PixelType::RGB32, 10), 48000, 2, SampleType::Int16), 0);
    StackHorizontal s({counting(4, 10, 0), second});
    EXPECT_FALSE(s.info().hasAudio());
}

TEST(StackHorizontal, HeightsMustMatch) {
    EXPECT_EQ(scriptErrorOf([] {
                  StackHorizontal({counting(4, 1, 0), constantClip(videoInfo(4, 6, PixelType::RGB32, 1), 0)});
              }),
              "StackHorizontal: image heights don't match");
}

TEST(StackHorizontal, FormatsMustMatch) {
    EXPECT_EQ(scriptErrorOf([] {
                  StackHorizontal({counting(4, 1, 0), counting(4, 1, 0, PixelType::RGB24)});
              }),
              "StackHorizontal: image formats don't match");
}

// A clip that takes a while for each frame and counts how many it is making at once.
class SlowClip : public PatternClip {
public:
    SlowClip(std::atomic<int>& busy, std::atomic<int>& most)
        : PatternClip(videoInfo(4, 4, PixelType::RGB32, 4), [](int64_t, int) { return uint8_t(1); }),
          busy_(busy),
          most_(most) {}

protected:
    FramePtr makeFrame(int64_t n) override {
        const int now = ++busy_;
        int seen = most_.load();
        while (now > seen && !most_.compare_exchange_weak(seen, now)) {}
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        --busy_;
        return PatternClip::makeFrame(n);
    }

private:
    std::atomic<int>& busy_;
    std::atomic<int>& most_;
};

TEST(StackHorizontal, FetchesTheClipsFramesAtTheSameTime) {
    std::atomic<int> busy{0}, most{0};
    std::vector<ClipPtr> clips;
    for (int i = 0; i < 4; ++i) clips.push_back(std::make_shared<SlowClip>(busy, most));
    StackHorizontal s(clips);
    s.frame(0);
    EXPECT_GE(most.load(), 2);
}

class FailingClip : public PatternClip {
public:
    FailingClip() : PatternClip(videoInfo(4, 4, PixelType::RGB32, 4), [](int64_t, int) { return uint8_t(1); }) {}

protected:
    FramePtr makeFrame(int64_t) override { throw ScriptError("decoder broke"); }
};

TEST(StackHorizontal, AChildsErrorReachesTheCaller) {
    StackHorizontal s({counting(4, 4, 0), std::make_shared<FailingClip>()});
    EXPECT_EQ(scriptErrorOf([&] { s.frame(1); }), "decoder broke");
}

// Notes the order frames are asked for, and keeps an eye on the frames it
// handed out that are still alive somewhere.
class RecordingClip : public PatternClip {
public:
    explicit RecordingClip(int base)
        : PatternClip(videoInfo(4, 4, PixelType::RGB32, 200), [base](int64_t n, int) { return uint8_t(base + n); }) {}

    std::vector<int64_t> asked() {
        std::lock_guard lock(mutex_);
        return asked_;
    }
    int alive() {
        std::lock_guard lock(mutex_);
        int count = 0;
        for (const auto& frame : made_) count += !frame.expired();
        return count;
    }

protected:
    FramePtr makeFrame(int64_t n) override {
        FramePtr frame = PatternClip::makeFrame(n);
        std::lock_guard lock(mutex_);
        asked_.push_back(n);
        made_.push_back(frame);
        return frame;
    }

private:
    std::mutex mutex_;
    std::vector<int64_t> asked_;
    std::vector<std::weak_ptr<const Frame>> made_;
};

// Played forward, each clip already makes its next frame while the caller
// has the current one; a source decodes in order, so each must be asked in
// order, and nothing may hold on to the frames already delivered.
TEST(StackHorizontal, ReadInOrderEachClipIsAskedInOrderAndKeepsNoOldFrames) {
    auto left = std::make_shared<RecordingClip>(0), right = std::make_shared<RecordingClip>(100);
    StackHorizontal s({left, right});
    for (int64_t n = 0; n < 60; ++n) {
        FramePtr f = s.frame(n);
        ASSERT_EQ(f->plane(0).row(0)[0], n) << "left at " << n;
        ASSERT_EQ(f->plane(0).row(0)[16], 100 + n) << "right at " << n;
    }
    for (const auto& clip : {left, right}) {
        const std::vector<int64_t> asked = clip->asked();
        EXPECT_TRUE(std::is_sorted(asked.begin(), asked.end()));
        EXPECT_LE(asked.back(), 62) << "at most three frames ahead";
        EXPECT_LE(clip->alive(), 4) << "frames kept after they were delivered";
    }
    // A jump back, then on again from there.
    for (int64_t n : {10, 11, 12, 5, 199, 0}) EXPECT_EQ(s.frame(n)->plane(0).row(0)[0], n);
}

// A clip whose frames 2 to 4 wait until the gate opens, as a slow decode does.
class GatedClip : public PatternClip {
public:
    GatedClip() : PatternClip(videoInfo(4, 4, PixelType::RGB32, 200), [](int64_t n, int) { return uint8_t(n); }) {}
    std::promise<void> gate, reached;  // reached: a frame waits at the gate

protected:
    FramePtr makeFrame(int64_t n) override {
        if (n >= 2 && n <= 4) {
            std::call_once(first_, [this] { reached.set_value(); });
            opened_.wait();
        }
        return PatternClip::makeFrame(n);
    }

private:
    std::once_flag first_;
    std::shared_future<void> opened_ = gate.get_future().share();
};

// The look-ahead of a stack read in order is stuck in a slow decode: a jump
// elsewhere, and dropping the stack, go on without waiting for it.
TEST(StackHorizontal, AJumpAndTheLastReferenceGiveUpTheLookAheadWithoutWaitingForIt) {
    const Watchdog watchdog("giving up a stuck look-ahead", std::chrono::seconds(60));
    auto gated = std::make_shared<GatedClip>();
    auto stack = std::make_shared<StackHorizontal>(std::vector<ClipPtr>{counting(4, 200, 0), gated});
    stack->frame(0);
    stack->frame(1);
    gated->reached.get_future().wait();
    EXPECT_EQ(stack->frame(150)->plane(0).row(0)[16], 150);
    EXPECT_EQ(stack->frame(20)->plane(0).row(0)[16], 20);
    stack.reset();
    gated->gate.set_value();
}

TEST(StackHorizontal, ScriptCallTakesTheFirstClipAndTheRest) {
    Environment env;
    Args args = makeArgs({{counting(2, 1, 0)}, {counting(2, 1, 0), counting(2, 1, 0)}}, 2);
    EXPECT_EQ(std::get<ClipPtr>(createStackHorizontal(args, env))->info().width, 6);
}

}  // namespace
