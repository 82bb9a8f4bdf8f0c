#pragma once
// Sound through Qt Multimedia: the system's default output device, fed in
// push mode. A machine without a sound device makes start() fail or the sink
// stop at once with an error; both mean silence, never a message.

#include "player/SoundOutput.h"

#include <QAudioSink>

#include <memory>

class QIODevice;

namespace vistrel::player {

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
