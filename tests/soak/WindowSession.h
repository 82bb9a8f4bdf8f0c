#pragma once

namespace vistrel::soak {

// The same long session through the main window: the "A" to "D" buttons
// clicked at random positions of the player, then random entries of the
// switch list double-clicked away. The list stays sorted, the point count box
// follows it, and "build script" writes every segment; the time of the save
// is printed. Returns false on a fault.
bool runWindowSession(int points);

}  // namespace vistrel::soak
