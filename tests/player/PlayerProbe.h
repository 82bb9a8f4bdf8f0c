#pragma once
// What a test can see of a player from outside: the index the picture on the
// screen shows, and waiting (with the event loop running) for it to open.

#include "player/PlayerWnd.h"

#include <QImage>

#include <chrono>
#include <vector>

namespace vistrel::test {

// The frame index the player's picture shows, read from grab();
// kNoFrameIndex when the picture shows none.
int shownFrameIndex(player::PlayerWnd& player);

// Runs the event loop until the player has finished opening; false on timeout.
bool waitUntilOpened(player::PlayerWnd& player, std::chrono::milliseconds timeout = std::chrono::seconds(120));

// Runs the event loop until a pending seek has shown its frame; false on timeout.
bool waitUntilShown(player::PlayerWnd& player, std::chrono::milliseconds timeout = std::chrono::seconds(60));

// Runs the event loop for a while.
void runEventLoop(std::chrono::milliseconds duration);

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
