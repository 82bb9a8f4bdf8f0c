#pragma once
// Where the player's sound goes: a device that takes interleaved samples as
// fast as it plays them. The player pushes sound into it; tests pass a fake
// that records what it was given.
//
// QtSoundOutput is the real one: the system's default output device through
// Qt Multimedia, fed in push mode. A machine without a sound device makes
// start() fail or the sink stop at once with an error; both mean silence,
// never a message.

#include "engine/core/VideoInfo.h"

#include <QAudioSink>

#include <cstdint>
#include <functional>
#include <memory>

class QIODevice;

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

class QtSoundOutput : public SoundOutput {
public:
    bool start(const SoundFormat& format) override;
    void stop() override;
    int64_t bytesFree() const override;
    void write(const char* data, int64_t bytes) override;
    bool failed() const override;
    void setVolume(double volume) override;

private:
    std::unique_ptr<QAudioSink> sink_;
    QIODevice* device_ = nullptr;  // owned by sink_
    double volume_ = 1.0;
};

}  // namespace vistrel::player
