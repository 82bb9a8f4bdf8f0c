#pragma once
// What the start-point dialog reads and writes of the main window, each time
// one of its steps runs: the start-frame list's selected entry.

#include <string>

namespace vistrel::ui {

class StartFrameAccess {
public:
    virtual ~StartFrameAccess() = default;

    // The selected start frame, verbatim; "" when no entry is selected.
    virtual std::string selectedStartFrame() const = 0;
    // Replaces the selected start frame with text, verbatim; with no entry
    // selected nothing changes.
    virtual void storeSelectedStartFrame(std::string text) = 0;
};

}  // namespace vistrel::ui
