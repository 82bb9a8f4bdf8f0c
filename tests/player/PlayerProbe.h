#pragma once
// What a test can see of a player from outside: the index the picture on the
// screen shows, and waiting (with the event loop running) for it to open.

#include "player/PlayerWnd.h"

#include <QImage>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace vistrel::test {

// The frame index the player's picture shows, read from grab();
// kNoFrameIndex when the picture shows none.
int shownFrameIndex(player::PlayerWnd& player);

// Runs the event loop until the player has finished opening; false on timeout.
bool waitUntilOpened(player::PlayerWnd& player, std::chrono::milliseconds timeout = std::chrono::seconds(120));

// Runs the event loop until a pending seek has shown its frame; false on timeout.
bool waitUntilShown(player::PlayerWnd& player, std::chrono::milliseconds timeout = std::chrono::seconds(60));

// Runs the event loop until done() holds; false on timeout.
bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(60));

// Runs the event loop until the player has played past frame; false on timeout.
bool waitUntilPast(player::PlayerWnd& player, int64_t frame);

// Runs the event loop for a while.
void runEventLoop(std::chrono::milliseconds duration);

// The player's time, moved only by the test (PlaybackDependencies::clock).
class ManualClock {
public:
    using Time = player::PlaybackClock::Time;

    std::function<Time()> function() const {
        return [nanoseconds = nanoseconds_] { return Time(nanoseconds->load()); };
    }
    void advance(Time by) { *nanoseconds_ += by.count(); }

private:
    std::shared_ptr<std::atomic<int64_t>> nanoseconds_ = std::make_shared<std::atomic<int64_t>>(1'000'000'000);
};

// Whether some pixel of the image is clearly red, as the error card's text is.
bool hasRedText(const QImage& image);

// Records every positionchange the player raises.
class PositionRecorder {
public:
    explicit PositionRecorder(player::PlayerWnd& player);
    const std::vector<int>& positions() const { return positions_; }
    void clear() { positions_.clear(); }

private:
    std::vector<int> positions_;
};

}  // namespace vistrel::test
