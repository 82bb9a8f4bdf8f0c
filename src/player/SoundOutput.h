#pragma once
// Where the player's sound goes: a device that takes interleaved samples as
// fast as it plays them. The player pushes sound into it; tests pass a fake
// that records what it was given.

#include "engine/VideoInfo.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace vistrel::player {

struct SoundFormat {
    int rate = 0;
    int channels = 0;
    engine::SampleType sampleType = engine::SampleType::Int16;

    bool operator==(const SoundFormat&) const = default;
};

class SoundOutput {
public:
    virtual ~SoundOutput() = default;

    // Opens the device for this format. False when there is no device or it
    // cannot play the format: the player then stays silent.
    virtual bool start(const SoundFormat& format) = 0;
    virtual void stop() = 0;
    // Bytes the device takes now.
    virtual int64_t bytesFree() const = 0;
    virtual void write(const char* data, int64_t bytes) = 0;
    // The device gave up (unplugged, no sound server): nothing more can be played.
    virtual bool failed() const = 0;
    // 0.0 (silent) to 1.0 (full).
    virtual void setVolume(double volume) = 0;
};

using SoundOutputFactory = std::function<std::unique_ptr<SoundOutput>()>;

}  // namespace vistrel::player
