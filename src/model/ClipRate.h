#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vistrel::model {

// A clip's exact frame rate, num / den frames per second.
struct FrameRate {
    std::int64_t num = 0;
    std::int64_t den = 1;

    double fps() const { return den > 0 ? double(num) / double(den) : 0.0; }
};

// Reads the frame rate of a clip file. The model opens no media itself: the
// window passes in a probe over the script engine, tests pass their own.
class ClipRateProbe {
public:
    virtual ~ClipRateProbe() = default;
    // Nothing when the clip cannot be opened (the player says why when it shows it).
    virtual std::optional<FrameRate> rateOf(const std::string& path) = 0;
};

}  // namespace vistrel::model
