#include "support/SoundAngles.h"

#include "support/TestMedia.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <fstream>
#include <random>
#include <vector>

namespace vistrel::test {

namespace fs = std::filesystem;

namespace {

constexpr int kRecordingRate = kEventRate;
constexpr double kRecordingSeconds = 320;
constexpr double kRecordingRms = 0.08;
constexpr double kSyllablesHz = 3;

// In [-1, 1); mt19937_64 gives the same numbers with every library.
double uniform(std::mt19937_64& random) { return double(random() >> 11) / double(1ull << 52) - 1.0; }

// Reddish noise in bursts: a slowly wandering level, cut at zero, gives
// stretches of sound a few tenths of a second long and pauses between them.
std::vector<double> speech(std::mt19937_64& random, size_t n) {
    std::vector<double> sound(n);
    const double slow = 1 - std::exp(-2 * M_PI * kSyllablesHz / kRecordingRate);
    double level1 = 0, level2 = 0, colour = 0;
    for (size_t i = 0; i < n; ++i) {
        level1 += slow * (uniform(random) - level1);
        level2 += slow * (level1 - level2);
        colour = 0.8 * colour + uniform(random);
        sound[i] = colour * std::max(0.0, level2);
    }
    return sound;
}

// A band's steady beat: on every second the same drum hit (a burst of noise
// dying away in a few hundredths of a second) and a note of another pitch,
// struck and dying away: a tone with two overtones, one of two octaves of
// semitones. The drum sounds alike on every beat, so that offsets a beat
// apart agree on it; only the notes tell them apart.
std::vector<double> beat(std::mt19937_64& random, size_t n) {
    std::vector<double> drum(static_cast<size_t>(0.08 * kRecordingRate));
    std::mt19937_64 drumNoise(1);
    double colour = 0;
    for (size_t i = 0; i < drum.size(); ++i) {
        colour = 0.9 * colour + uniform(drumNoise);
        drum[i] = 2 * colour * std::exp(-double(i) / (0.015 * kRecordingRate));
    }
    std::vector<double> sound(n, 0.0);
    const auto note = static_cast<size_t>(kRecordingRate / 2);
    const double attack = 0.005 * kRecordingRate, dying = std::exp(-1 / (0.15 * kRecordingRate));
    for (size_t start = 0; start < n; start += kRecordingRate) {
        const double hz = 220 * std::pow(2.0, double(random() % 25) / 12);
        // The tone turned as a phasor: a sine a sample would cost the most of the event's making.
        const std::complex<double> turn = std::polar(1.0, 2 * M_PI * hz / kRecordingRate);
        std::complex<double> tone = 1;
        double level = 1;
        for (size_t i = 0; i < note && start + i < n; ++i, tone *= turn, level *= dying) {
            const std::complex<double> second = tone * tone;
            sound[start + i] = std::min(1.0, double(i) / attack) * level *
                               (tone.imag() + second.imag() / 2 + (second * tone).imag() / 3);
        }
        for (size_t i = 0; i < drum.size() && start + i < n; ++i) sound[start + i] += drum[i];
    }
    return sound;
}

std::vector<float> makeRecording(int number, Event event) {
    std::mt19937_64 random(uint64_t(number) * 7919 + 17);
    const auto n = static_cast<size_t>(kRecordingSeconds * kRecordingRate);
    const std::vector<double> sound = event == Event::Beat ? beat(random, n) : speech(random, n);
    double energy = 0;
    for (double v : sound) energy += v * v;
    const double gain = kRecordingRms / std::sqrt(energy / double(n));
    std::vector<float> out(n);
    for (size_t i = 0; i < n; ++i) out[i] = float(std::clamp(sound[i] * gain, -1.0, 1.0));
    return out;
}

// The angle's stretch of the recording with its own noise, as 32-bit floats.
void writeStretch(const SoundAngle& angle, const fs::path& path) {
    const std::vector<float> shared = makeRecording(angle.recording, angle.event);
    const auto first = static_cast<size_t>(std::llround(angle.startSeconds * kRecordingRate));
    // The camera's clock makes clockRate of the event's samples a second of its own.
    const auto count = static_cast<size_t>(std::llround(angle.seconds * angle.clockRate));
    if (first + count > shared.size()) throw std::runtime_error(angle.name + " reaches past the shared recording");
    std::vector<float> stretch(shared.begin() + first, shared.begin() + first + count);
    if (angle.snrDb) {
        double energy = 0;
        for (float v : stretch) energy += double(v) * v;
        // Uniform noise in [-1, 1) has a power of 1/3.
        const double amplitude = std::sqrt(3 * energy / double(count) * std::pow(10.0, -*angle.snrDb / 10));
        uint64_t seed = 0;
        for (unsigned char c : angle.name) seed = seed * 131 + c;
        std::mt19937_64 random(seed);
        for (float& v : stretch) v = float(v + amplitude * uniform(random));
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(stretch.data()),
              static_cast<std::streamsize>(stretch.size() * sizeof(float)));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string angleKey(const SoundAngle& a) {
    std::string videoOptions;
    for (const std::string& option : a.videoOptions) videoOptions += option + " ";
    return "sound-angle-v3|" + std::to_string(a.startSeconds) + "|" + std::to_string(a.seconds) + "|" + a.filters +
           "|" + (a.snrDb ? std::to_string(*a.snrDb) : "-") + "|" + std::to_string(a.rate) + "|" + a.encoder + "|" +
           a.container + "|" + std::to_string(a.recording) + "|" + a.videoEncoder + "|" + videoOptions + "|" +
           std::to_string(a.pictureLateSeconds) + (a.event == Event::Beat ? "|band" : "") +
           (a.clockRate != kEventRate ? "|clock " + std::to_string(a.clockRate) : "");
}

void makeClip(const SoundAngle& angle, const fs::path& part) {
    const fs::path raw = part.string() + ".f32";
    writeStretch(angle, raw);
    const QString seconds = QString::number(angle.seconds, 'f', 6);
    QString chain = QString::fromStdString(angle.filters.empty() ? "" : angle.filters + ",");
    if (angle.clockRate != kEventRate) chain = "asetrate=" + QString::number(angle.clockRate) + "," + chain;
    const bool picture = !angle.videoEncoder.empty();
    QStringList args{"-hide_banner",
                     "-loglevel",
                     "error",
                     "-nostdin",
                     "-y",
                     "-f",
                     "f32le",
                     "-ar",
                     QString::number(kRecordingRate),
                     "-ac",
                     "1",
                     "-i",
                     QString::fromStdString(raw.string())};
    QString graph = "[0:a]" + chain + "aresample=" + QString::number(angle.rate) + "[a]";
    if (picture) {
        args << QStringList{"-f", "lavfi", "-i", "color=c=gray:s=32x32:r=25:d=" + seconds};
        graph += ";[1:v]setpts=PTS+" + QString::number(angle.pictureLateSeconds, 'f', 6) + "/TB[v]";
    }
    args << QStringList{"-filter_complex", graph};
    if (picture) args << QStringList{"-map", "[v]"};
    args << QStringList{"-map", "[a]"};
    if (picture) {
        args << QStringList{"-fps_mode", "passthrough", "-c:v", QString::fromStdString(angle.videoEncoder)};
        for (const std::string& option : angle.videoOptions) args << QString::fromStdString(option);
    }
    args << QStringList{"-c:a",  QString::fromStdString(angle.encoder), "-ac", "2", "-t",
                        seconds, QString::fromStdString(part.string())};
    runFfmpeg(args);  // a part left by a failure goes with the test media folder's other old parts
    fs::remove(raw);
}

}  // namespace

std::optional<fs::path> soundAngleClip(const SoundAngle& angle, std::string* skipReason) {
    for (const std::string& encoder : {angle.videoEncoder, angle.encoder})
        if (!encoder.empty() && !ffmpegHasEncoder(encoder)) {
            if (skipReason) *skipReason = "ffmpeg has no " + encoder + " encoder here";
            return std::nullopt;
        }
    return cachedTestFile(stableName(angle.name, angleKey(angle), angle.container),
                          [&](const fs::path& part) { makeClip(angle, part); });
}

}  // namespace vistrel::test
