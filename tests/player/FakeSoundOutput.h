#pragma once
// A sound device that records what it is given. The log is shared so that a
// test can read it after handing the device to a player.

#include "player/SoundOutput.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace vistrel::test {

struct SoundLog {
    bool deviceExists = true;     // false: start() fails, as without a sound card
    bool deviceFails = false;     // true: the device reports failure once started
    int64_t bytesFree = 1 << 20;  // what the device offers per call
    int starts = 0;
    int stops = 0;
    std::optional<player::SoundFormat> format;  // of the last start
    std::vector<char> written;                  // since the last start
    double volume = 1.0;
    bool running = false;
};

class FakeSoundOutput : public player::SoundOutput {
public:
    explicit FakeSoundOutput(std::shared_ptr<SoundLog> log) : log_(std::move(log)) {}

    bool start(const player::SoundFormat& format) override {
        if (!log_->deviceExists) return false;
        ++log_->starts;
        log_->format = format;
        log_->written.clear();
        log_->running = true;
        return true;
    }
    void stop() override {
        ++log_->stops;
        log_->running = false;
    }
    int64_t bytesFree() const override { return log_->running ? log_->bytesFree : 0; }
    void write(const char* data, int64_t bytes) override {
        log_->written.insert(log_->written.end(), data, data + bytes);
    }
    bool failed() const override { return log_->deviceFails; }
    void setVolume(double volume) override { log_->volume = volume; }

    // A factory for PlaybackDependencies that hands out devices writing into log.
    static player::SoundOutputFactory factory(std::shared_ptr<SoundLog> log) {
        return [log] { return std::make_unique<FakeSoundOutput>(log); };
    }

private:
    std::shared_ptr<SoundLog> log_;
};

// The 16-bit samples of a log, interleaved.
inline std::vector<int16_t> samplesOf(const SoundLog& log) {
    std::vector<int16_t> samples(log.written.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(static_cast<uint8_t>(log.written[2 * i]) |
                                          (static_cast<uint8_t>(log.written[2 * i + 1]) << 8));
    return samples;
}

}  // namespace vistrel::test
