#include "support/MarkedEvent.h"

#include "support/TestMedia.h"

#include <cmath>
#include <fstream>

namespace vistrel::test {

namespace fs = std::filesystem;

namespace {

constexpr int kWidth = 160, kHeight = 120, kClickSamples = 16;

// Each moment's place (its first sample or frame) in a recording counted at perSecond.
template <typename T>
void writeMarked(const fs::path& path, const MarkedRecording& r, int perSecond, size_t unit, T mark) {
    std::vector<T> data(size_t(std::llround(r.seconds * perSecond)) * unit, T(0));
    for (double moment : markedMoments()) {
        const int64_t at = std::llround((moment - r.startSeconds) * perSecond);
        const int64_t length = unit == 1 ? kClickSamples : 1;
        for (int64_t i = std::max<int64_t>(at, 0) * int64_t(unit);
             i < (at + length) * int64_t(unit) && i < int64_t(data.size()); ++i)
            data[size_t(i)] = mark;
    }
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size() * sizeof(T)));
}

void make(const MarkedRecording& r, const fs::path& part) {
    const bool camera = r.type == "mkv";
    const QString sound = QString::fromStdString(part.string() + ".pcm"),
                  pictures = QString::fromStdString(part.string() + ".gray");
    writeMarked<int16_t>(sound.toStdString(), r, kMarkedRate, 1, kClickLevel);
    QStringList args{"-hide_banner", "-loglevel", "error", "-nostdin", "-y"};
    if (camera) {
        writeMarked<uint8_t>(pictures.toStdString(), r, kMarkedFps, kWidth * kHeight, 255);
        args << "-f"
             << "rawvideo"
             << "-pix_fmt"
             << "gray"
             << "-video_size" << QString("%1x%2").arg(kWidth).arg(kHeight) << "-framerate"
             << QString::number(kMarkedFps) << "-i" << pictures;
    }
    args << "-f"
         << "s16le"
         << "-ar" << QString::number(kMarkedRate) << "-ac"
         << "1"
         << "-i" << sound;
    if (camera)
        args << "-c:v"
             << "ffv1"
             << "-pix_fmt"
             << "yuv420p";
    args << "-c:a" << QString::fromStdString(r.audioEncoder) << QString::fromStdString(part.string());
    runFfmpeg(args);  // what a failure leaves goes with the test media folder's other old parts
    fs::remove(sound.toStdString());
    fs::remove(pictures.toStdString());
}

}  // namespace

const std::vector<double>& markedMoments() {
    static const std::vector<double> moments = {0.8,  2.4,  4.0,  5.6,  6.6,  8.8,  10.4, 12.0, 12.6, 13.6,
                                                15.2, 16.8, 18.4, 20.8, 22.4, 24.0, 25.6, 27.2, 28.8};
    return moments;
}

std::optional<fs::path> markedRecording(const MarkedRecording& r, std::string* skipReason) {
    for (const std::string& encoder : {r.type == "mkv" ? std::string("ffv1") : r.audioEncoder, r.audioEncoder})
        if (!ffmpegHasEncoder(encoder)) {
            *skipReason = "ffmpeg has no " + encoder + " encoder here";
            return std::nullopt;
        }
    const std::string key = "marked-v1|" + std::to_string(r.startSeconds) + "|" + std::to_string(r.seconds) + "|" +
                            r.type + "|" + r.audioEncoder;
    return cachedTestFile(stableName(r.name, key, r.type), [&](const fs::path& part) { make(r, part); });
}

}  // namespace vistrel::test
