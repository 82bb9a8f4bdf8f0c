#include "player/SoundOutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QIODevice>
#include <QMediaDevices>

namespace vistrel::player {

namespace {

// Enough to ride over a busy moment of the UI thread, short enough to keep
// the sound close to the picture.
constexpr int kBufferMilliseconds = 120;

QAudioFormat qtFormat(const SoundFormat& format) {
    QAudioFormat qt;
    qt.setSampleRate(format.rate);
    qt.setChannelCount(format.channels);
    qt.setSampleFormat(format.sampleType == engine::SampleType::Int16 ? QAudioFormat::Int16 : QAudioFormat::Float);
    return qt;
}

}  // namespace

bool QtSoundOutput::start(const SoundFormat& format) {
    stop();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    const QAudioFormat qt = qtFormat(format);
    if (device.isNull() || !device.isFormatSupported(qt)) return false;

    sink_ = std::make_unique<QAudioSink>(device, qt);
    sink_->setBufferSize(qt.bytesForDuration(kBufferMilliseconds * 1000));
    sink_->setVolume(volume_);
    device_ = sink_->start();
    if (!device_ || failed()) {
        stop();
        return false;
    }
    return true;
}

void QtSoundOutput::stop() {
    if (sink_) sink_->stop();
    device_ = nullptr;
    sink_.reset();
}

int64_t QtSoundOutput::bytesFree() const { return sink_ && device_ ? sink_->bytesFree() : 0; }

void QtSoundOutput::write(const char* data, int64_t bytes) {
    if (device_) device_->write(data, bytes);
}

bool QtSoundOutput::failed() const {
    if (!sink_) return false;
    return sink_->state() == QAudio::StoppedState && sink_->error() != QAudio::NoError;
}

void QtSoundOutput::setVolume(double volume) {
    volume_ = volume;
    if (sink_) sink_->setVolume(volume);
}

}  // namespace vistrel::player
