#include "support/TestMedia.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringList>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <set>
#include <system_error>

namespace vistrel::test {

namespace fs = std::filesystem;

namespace {

constexpr int kFfmpegTimeoutMs = 180000;

// FNV-1a: stable across runs and builds, so cached files keep their names.
uint64_t stableHash(const std::string& text) {
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : text) h = (h ^ c) * 1099511628211ull;
    return h;
}

std::string hex(uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

std::string rate(int64_t num, int64_t den) { return std::to_string(num) + "/" + std::to_string(den); }

// ffmpeg's arguments after its inputs: everything that decides the file's content.
QStringList encodingArguments(const MediaRecipe& r) {
    QStringList args;
    if (!r.frameTimes.empty())
        args << "-vf" << QString::fromStdString("setpts='" + r.frameTimes + "'") << "-fps_mode"
             << "passthrough";
    args << "-c:v" << QString::fromStdString(r.videoEncoder);
    for (const auto& option : r.videoOptions) args << QString::fromStdString(option);
    args << "-pix_fmt" << QString::fromStdString(r.pixelFormat);
    if (r.audioRate > 0) args << "-c:a" << QString::fromStdString(r.audioEncoder);
    return args;
}

std::string recipeKey(const MediaRecipe& r) {
    std::string key = r.name + "|" + r.container + "|" + std::to_string(r.width) + "x" + std::to_string(r.height) +
                      "|" + rate(r.fpsNum, r.fpsDen) + "|" + std::to_string(r.frames) + "|" +
                      std::to_string(r.audioRate) + "x" + std::to_string(r.audioChannels) + "|pattern-v1";
    if (r.seconds > 0) key += "|" + std::to_string(r.seconds) + "s";
    for (const QString& a : encodingArguments(r)) key += "|" + a.toStdString();
    return key;
}

void writeFile(const fs::path& path, const std::vector<char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

void writePictures(const MediaRecipe& r, const fs::path& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (int n = 0; n < r.frames; ++n) {
        const auto picture = frameIndexPicture(n, r.width, r.height);
        out.write(reinterpret_cast<const char*>(picture.data()), static_cast<std::streamsize>(picture.size()));
    }
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

void writeSound(const MediaRecipe& r, const fs::path& path) {
    std::vector<char> bytes;
    bytes.reserve(static_cast<size_t>(r.audioSamples() * r.audioChannels * 2));
    for (int64_t s = 0; s < r.audioSamples(); ++s)
        for (int c = 0; c < r.audioChannels; ++c) {
            const auto v = static_cast<uint16_t>(testSample(s, c));
            bytes.push_back(static_cast<char>(v & 0xFF));
            bytes.push_back(static_cast<char>(v >> 8));
        }
    writeFile(path, bytes);
}

QString native(const fs::path& p) { return QString::fromStdString(p.string()); }

}  // namespace

void runFfmpeg(const QStringList& args) {
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start("ffmpeg", args);
    if (!ffmpeg.waitForStarted()) throw std::runtime_error("cannot start the ffmpeg program");
    if (!ffmpeg.waitForFinished(kFfmpegTimeoutMs)) {
        ffmpeg.kill();
        ffmpeg.waitForFinished();
        throw std::runtime_error("ffmpeg took too long");
    }
    if (ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0)
        throw std::runtime_error("ffmpeg failed: " + ffmpeg.readAll().toStdString());
}

namespace {

// Removes the listed files when it goes out of scope.
struct TemporaryFiles {
    std::vector<fs::path> paths;
    ~TemporaryFiles() {
        std::error_code ignored;
        for (const auto& p : paths) fs::remove(p, ignored);
    }
};

void generate(const MediaRecipe& r, const fs::path& output) {
    TemporaryFiles temporary;
    const fs::path pictures = output.string() + ".gray";
    const fs::path sound = output.string() + ".pcm";
    temporary.paths = {pictures, sound};

    writePictures(r, pictures);
    QStringList args{"-hide_banner",
                     "-loglevel",
                     "error",
                     "-nostdin",
                     "-y",
                     "-f",
                     "rawvideo",
                     "-pix_fmt",
                     "gray",
                     "-video_size",
                     QString("%1x%2").arg(r.width).arg(r.height),
                     "-framerate",
                     QString::fromStdString(rate(r.fpsNum, r.fpsDen)),
                     "-i",
                     native(pictures)};
    if (r.audioRate > 0) {
        writeSound(r, sound);
        args << "-f"
             << "s16le"
             << "-ar" << QString::number(r.audioRate) << "-ac" << QString::number(r.audioChannels) << "-i"
             << native(sound);
    }
    args << encodingArguments(r) << native(output);
    runFfmpeg(args);
}

// Parts left by a test program that was killed while making a file.
void removeAbandonedParts(const fs::path& folder) {
    const auto anHourAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.path().filename().string().find(".part-") != std::string::npos &&
            entry.last_write_time(ec) < anHourAgo)
            fs::remove(entry.path(), ec);
}

const std::set<std::string>& availableEncoders() {
    static const std::set<std::string> encoders = [] {
        std::set<std::string> names;
        QProcess ffmpeg;
        ffmpeg.start("ffmpeg", {"-hide_banner", "-encoders"});
        if (!ffmpeg.waitForStarted() || !ffmpeg.waitForFinished(30000)) return names;
        for (const QByteArray& line : ffmpeg.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() >= 2 && fields[0].size() == 6 && !fields[0].startsWith('-'))
                names.insert(fields[1].toStdString());
        }
        return names;
    }();
    return encoders;
}

}  // namespace

int64_t MediaRecipe::audioSamples() const {
    if (audioRate <= 0 || fpsNum <= 0) return 0;
    if (seconds > 0) return int64_t(seconds) * audioRate;
    return int64_t(frames) * audioRate * fpsDen / fpsNum;
}

int16_t testSample(int64_t s, int channel) {
    return static_cast<int16_t>((s * 37 + int64_t(channel) * 5003) % 16001 - 8000);
}

bool ffmpegHasEncoder(const std::string& encoder) { return availableEncoders().count(encoder) > 0; }

fs::path testMediaFolder() {
    if (const char* folder = std::getenv("VISTREL_TEST_MEDIA"); folder && *folder) return folder;
    return fs::path(QDir::tempPath().toStdString()) / "vistrel-test-media";
}

fs::path cachedTestFile(const std::string& fileName, const std::function<void(const fs::path& part)>& make) {
    const fs::path folder = testMediaFolder();
    const fs::path target = folder / fileName;
    if (fs::exists(target)) return target;
    fs::create_directories(folder);
    removeAbandonedParts(folder);
    const std::string unique = ".part-" + std::to_string(QCoreApplication::applicationPid()) + "-" +
                               std::to_string(QRandomGenerator::global()->generate());
    TemporaryFiles temporary;
    const fs::path part = folder / (target.stem().string() + unique + target.extension().string());
    temporary.paths = {part};
    make(part);
    // Atomic, and a file another test program made meanwhile is kept: replacing
    // it would change a clip under a preview proxy built from it.
    std::error_code exists;
    fs::create_hard_link(part, target, exists);  // fails when the target exists
    if (exists && !fs::exists(target)) fs::rename(part, target);
    return target;
}

std::string stableName(const std::string& name, const std::string& key, const std::string& extension) {
    return name + "-" + hex(stableHash(key)).substr(0, 10) + "." + extension;
}

std::optional<fs::path> testMedia(const MediaRecipe& recipe, std::string* skipReason) {
    const std::string needed[] = {recipe.videoEncoder, recipe.audioRate > 0 ? recipe.audioEncoder : ""};
    for (const auto& encoder : needed) {
        if (encoder.empty() || ffmpegHasEncoder(encoder)) continue;
        if (skipReason)
            *skipReason = availableEncoders().empty() ? "the ffmpeg program is not available"
                                                      : "ffmpeg has no " + encoder + " encoder";
        return std::nullopt;
    }
    return cachedTestFile(stableName(recipe.name, recipeKey(recipe), recipe.container),
                          [&](const fs::path& part) { generate(recipe, part); });
}

namespace recipes {

namespace {
MediaRecipe basic(std::string name, std::string container, std::string encoder) {
    MediaRecipe r;
    r.name = std::move(name);
    r.container = std::move(container);
    r.videoEncoder = std::move(encoder);
    return r;
}
MediaRecipe withStereo(MediaRecipe r, int rate = 44100) {
    r.audioRate = rate;
    r.audioChannels = 2;
    return r;
}
MediaRecipe withX264BFrames(MediaRecipe r) {
    r.videoOptions = {"-preset",      "fast",
                      "-crf",         "16",
                      "-x264-params", "keyint=24:min-keyint=24:scenecut=0:bframes=2:b-adapt=0:b-pyramid=none"};
    return r;
}
}  // namespace

MediaRecipe mjpegAvi() {
    MediaRecipe r = withStereo(basic("mjpeg", "avi", "mjpeg"));
    r.videoOptions = {"-q:v", "3"};
    r.pixelFormat = "yuvj420p";
    return r;
}
MediaRecipe ffv1Avi() { return withStereo(basic("ffv1", "avi", "ffv1")); }
MediaRecipe mpeg4BFramesAvi() {
    MediaRecipe r = withStereo(basic("mpeg4-bframes", "avi", "mpeg4"));
    r.videoOptions = {"-bf", "2", "-g", "12", "-q:v", "4"};
    return r;
}
MediaRecipe mpeg4ClosedGopAvi() {
    MediaRecipe r = basic("mpeg4-closed-gop", "avi", "mpeg4");
    r.videoOptions = {"-bf", "3", "-g", "17", "-flags", "+cgop", "-sc_threshold", "1000000000", "-q:v", "4"};
    return r;
}
MediaRecipe mpeg2BFramesAvi() {
    MediaRecipe r = basic("mpeg2-bframes", "avi", "mpeg2video");
    r.videoOptions = {"-bf", "2", "-g", "15", "-q:v", "4"};
    return r;
}
MediaRecipe mpeg1BFramesAvi() {
    MediaRecipe r = basic("mpeg1-bframes", "avi", "mpeg1video");
    r.videoOptions = {"-bf", "2", "-g", "12", "-q:v", "4"};
    r.frames = 120;
    return r;
}
MediaRecipe h264BFramesAvi() { return withStereo(withX264BFrames(basic("h264-bframes", "avi", "libx264"))); }
MediaRecipe rawBgrAvi() {
    MediaRecipe r = withStereo(basic("raw-bgr", "avi", "rawvideo"));
    r.pixelFormat = "bgr24";
    r.frames = 100;
    return r;
}
MediaRecipe h264Mp4() { return withX264BFrames(basic("h264-mp4", "mp4", "libx264")); }
MediaRecipe h264Ts() { return withX264BFrames(basic("h264-ts", "ts", "libx264")); }
MediaRecipe ntscStereoAvi() {
    MediaRecipe r = withStereo(basic("ntsc-48k", "avi", "ffv1"), 48000);
    r.fpsNum = 30000;
    r.fpsDen = 1001;
    r.frames = 150;
    return r;
}
MediaRecipe ntscH264Mkv() {
    MediaRecipe r = withX264BFrames(basic("ntsc-h264-mkv", "mkv", "libx264"));
    r.fpsNum = 30000;
    r.fpsDen = 1001;
    r.frames = 150;
    return r;
}
MediaRecipe yuv422Avi() {
    MediaRecipe r = withStereo(basic("ffv1-422", "avi", "ffv1"));
    r.pixelFormat = "yuv422p";
    r.frames = 100;
    return r;
}
MediaRecipe floatAudioMkv() {
    MediaRecipe r = withStereo(basic("float-audio", "mkv", "ffv1"), 48000);
    r.audioEncoder = "pcm_f32le";
    r.frames = 50;
    return r;
}
MediaRecipe flacAudioMkv() {
    MediaRecipe r = withStereo(basic("flac-audio", "mkv", "ffv1"), 48000);
    r.audioEncoder = "flac";
    r.frames = 50;
    return r;
}
MediaRecipe u8AudioAvi() {
    MediaRecipe r = withStereo(basic("u8-audio", "avi", "ffv1"), 22050);
    r.audioEncoder = "pcm_u8";
    r.frames = 50;
    return r;
}
MediaRecipe variableRateMkv() {
    MediaRecipe r = basic("variable-rate", "mkv", "ffv1");
    r.fpsNum = 50;  // ticks of 1/50 s: two per frame at 25 fps, one at 50
    r.frames = 120;
    r.frameTimes = "if(lt(N,60),2*N,60+N)";
    return r;
}
MediaRecipe silentAvi() {
    MediaRecipe r = basic("silent", "avi", "ffv1");
    r.frames = 50;
    return r;
}

std::vector<MediaRecipe> constantRate() {
    return {mjpegAvi(),        ffv1Avi(),        mpeg4BFramesAvi(), mpeg4ClosedGopAvi(), mpeg2BFramesAvi(),
            mpeg1BFramesAvi(), h264BFramesAvi(), rawBgrAvi(),       h264Mp4(),           h264Ts(),
            ntscStereoAvi(),   ntscH264Mkv(),    yuv422Avi(),       floatAudioMkv(),     silentAvi()};
}

}  // namespace recipes

}  // namespace vistrel::test
