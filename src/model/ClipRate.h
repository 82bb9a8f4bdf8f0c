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

// A clip's picture size in pixels.
struct FrameSize {
    int width = 0;
    int height = 0;

    bool operator==(const FrameSize&) const = default;
};

// What a clip file is, as the engine reads it: a file of variable frame
// rate is played at its most common rate by time, its frames counted so.
struct ClipFacts {
    FrameRate rate;
    FrameSize size;
    std::int64_t frameCount = 0;
    bool variableRate = false;  // the file's frame times are irregular
    bool hasSound = false;
    int soundRate = 0;  // samples a second
    int channels = 0;
};

// Reads the frame rate and picture size of a clip file. The model opens no
// media itself: the window passes in a probe over the script engine, tests
// pass their own.
class ClipRateProbe {
public:
    virtual ~ClipRateProbe() = default;
    // Nothing when the clip cannot be opened (the player says why when it shows it).
    virtual std::optional<FrameRate> rateOf(const std::string& path) = 0;
    virtual std::optional<FrameSize> sizeOf(const std::string& path) {
        (void)path;
        return std::nullopt;
    }
    // All of it, for handing the cut on; nothing when the clip cannot be opened.
    virtual std::optional<ClipFacts> factsOf(const std::string& path) {
        (void)path;
        return std::nullopt;
    }
};

}  // namespace vistrel::model
