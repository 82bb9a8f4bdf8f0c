#pragma once
// What a clip is: its picture format, frame rate and count, and its sound format.

#include <cstdint>
#include <numeric>
#include <string>

namespace vistrel::engine {

enum class PixelType { RGB32, RGB24, YV12, YUY2 };
enum class SampleType { Int16, Float32 };

std::string pixelTypeName(PixelType type);  // "RGB32", "RGB24", "YV12", "YUY2"

// An exact frame rate, always kept reduced; a zero in either term is 0/1.
struct Rational {
    int64_t num = 0;
    int64_t den = 1;

    static Rational reduced(int64_t num, int64_t den) {
        if (num == 0 || den == 0) return {0, 1};
        if (den < 0) {
            num = -num;
            den = -den;
        }
        const int64_t g = std::gcd(num, den);
        return {num / g, den / g};
    }
    double toDouble() const { return den ? double(num) / double(den) : 0.0; }
    bool operator==(const Rational&) const = default;
};

// Where frame n lies in time at a frame rate, as people read it: h:mm:ss.ff,
// ff the frame within its second (three digits above 100 fps); "" without a rate.
std::string timecodeText(int64_t frame, Rational fps);

struct VideoInfo {
    // Picture. A clip without video has width 0.
    int width = 0;
    int height = 0;
    PixelType pixelType = PixelType::RGB32;
    Rational fps{0, 1};
    int64_t frameCount = 0;

    // Sound. A clip without sound has audioRate 0.
    int audioRate = 0;
    int channels = 0;
    SampleType sampleType = SampleType::Int16;
    int64_t audioSamples = 0;  // per channel

    bool hasVideo() const { return width > 0 && height > 0; }
    bool hasAudio() const { return audioRate > 0 && channels > 0; }
    int bytesPerSample() const { return sampleType == SampleType::Int16 ? 2 : 4; }
    int bytesPerAudioFrame() const { return channels * bytesPerSample(); }

    // Samples that lie before frame f: f * rate * fps_den / fps_num, truncated; 0 without video.
    int64_t samplesBeforeFrame(int64_t f) const;

    void removeVideo() {
        width = 0;
        height = 0;
        pixelType = PixelType::RGB32;
        fps = {0, 1};
        frameCount = 0;
    }
    void removeAudio() {
        audioRate = 0;
        channels = 0;
        audioSamples = 0;
        sampleType = SampleType::Int16;
    }
    bool sameAudioFormat(const VideoInfo& o) const {
        return audioRate == o.audioRate && channels == o.channels && sampleType == o.sampleType;
    }
};

}  // namespace vistrel::engine
