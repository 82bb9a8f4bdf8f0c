#include "support/HostileMedia.h"

#include "support/TestMedia.h"

#include <QProcess>
#include <QRandomGenerator>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <random>
#include <stdexcept>
#include <unistd.h>

namespace vistrel::test {

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<char>;
using Maker = std::function<std::optional<fs::path>(const fs::path& folder, std::string* skipReason)>;

Bytes readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path writeAll(const fs::path& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
    return file;
}

// The recipe every derived case starts from: MJPEG (each packet stands
// alone, so damage stays in its frame) with PCM sound.
MediaRecipe baseRecipe() {
    MediaRecipe r = recipes::mjpegAvi();
    r.frames = 100;
    return r;
}

// A copy of the base clip changed by edit, saved as name in folder.
Maker derived(std::string name, std::function<void(Bytes&)> edit) {
    return [name = std::move(name), edit = std::move(edit)](const fs::path& folder,
                                                            std::string* skipReason) -> std::optional<fs::path> {
        const auto base = testMedia(baseRecipe(), skipReason);
        if (!base) return std::nullopt;
        Bytes bytes = readAll(*base);
        edit(bytes);
        return writeAll(folder / name, bytes);
    };
}

Maker generated(MediaRecipe recipe) {
    return [recipe = std::move(recipe)](const fs::path&, std::string* skipReason) {
        return testMedia(recipe, skipReason);
    };
}

size_t find(const Bytes& bytes, const std::string& tag, size_t from = 0) {
    const auto at = std::search(bytes.begin() + std::ptrdiff_t(from), bytes.end(), tag.begin(), tag.end());
    return at == bytes.end() ? std::string::npos : size_t(at - bytes.begin());
}

// Everything up to the packet list: the file's headers and nothing to show.
void keepHeaderOnly(Bytes& bytes) {
    const size_t movi = find(bytes, "movi");
    if (movi == std::string::npos) throw std::runtime_error("the base clip has no packet list");
    bytes.resize(movi + 4);
}

void cutAt(Bytes& bytes, int percent) { bytes.resize(bytes.size() * size_t(percent) / 100); }

// Noise over the picture data of one video packet in the middle of the file;
// the packet's own header stays, so the demuxer reads on past it.
void damageMiddlePacket(Bytes& bytes) {
    const size_t packet = find(bytes, "00dc", bytes.size() / 2);
    if (packet == std::string::npos) throw std::runtime_error("the base clip has no video packet in its middle");
    const size_t payload = packet + 8;
    const uint32_t size = uint8_t(bytes[packet + 4]) | uint8_t(bytes[packet + 5]) << 8 |
                          uint8_t(bytes[packet + 6]) << 16 | uint32_t(uint8_t(bytes[packet + 7])) << 24;
    std::mt19937 random(11);
    for (size_t i = payload + 2; i < std::min(bytes.size(), payload + size); ++i)
        bytes[i] = static_cast<char>(random());
}

std::optional<fs::path> randomBytes(const fs::path& folder, std::string*) {
    std::mt19937 random(5);
    Bytes noise(300000);
    for (char& c : noise) c = static_cast<char>(random());
    return writeAll(folder / "noise.avi", noise);
}

std::optional<fs::path> zeroBytes(const fs::path& folder, std::string*) { return writeAll(folder / "empty.avi", {}); }

// An AVI that holds only PCM sound, two seconds of a tone, kept with the test media.
std::optional<fs::path> soundOnly(const fs::path&, std::string* skipReason) {
    const fs::path target = testMediaFolder() / "sound-only-v1.avi";
    if (fs::exists(target)) return target;
    if (!ffmpegHasEncoder("pcm_s16le")) {
        if (skipReason) *skipReason = "the ffmpeg program or its pcm_s16le encoder is not available";
        return std::nullopt;
    }
    fs::create_directories(testMediaFolder());
    const fs::path part = testMediaFolder() / ("sound-only.part-" + std::to_string(::getpid()) + "-" +
                                               std::to_string(QRandomGenerator::global()->generate()) + ".avi");
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg",
                 {"-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f", "lavfi", "-i",
                  "sine=frequency=440:duration=2", "-c:a", "pcm_s16le", QString::fromStdString(part.string())});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0) {
        fs::remove(part);
        throw std::runtime_error("ffmpeg could not make a sound-only file: " +
                                 ffmpeg.readAllStandardError().toStdString());
    }
    fs::rename(part, target);
    return target;
}

std::optional<fs::path> unusualPath(const fs::path& folder, std::string* skipReason) {
    const auto clip = wellFormedClip(skipReason);
    if (!clip) return std::nullopt;
    const fs::path file = folder / "Kamera 2 – Bühne (Æ) 日本.avi";
    fs::copy_file(*clip, file, fs::copy_options::overwrite_existing);
    return file;
}

std::optional<fs::path> folderNamedAvi(const fs::path& folder, std::string*) {
    fs::create_directories(folder / "x.avi" / "inside");
    return folder / "x.avi";
}

std::optional<fs::path> unreadable(const fs::path& folder, std::string* skipReason) {
    if (::geteuid() == 0) {
        if (skipReason) *skipReason = "running as root, which reads a file without read permission";
        return std::nullopt;
    }
    const auto clip = wellFormedClip(skipReason);
    if (!clip) return std::nullopt;
    const fs::path file = folder / "locked.avi";
    fs::copy_file(*clip, file, fs::copy_options::overwrite_existing);
    fs::permissions(file, fs::perms::none);
    return file;
}

MediaRecipe oneFrame() {
    MediaRecipe r = recipes::ffv1Avi();
    r.name = "one-frame";
    r.frames = 1;
    return r;
}

MediaRecipe onePixel() {
    MediaRecipe r = recipes::ffv1Avi();
    r.name = "one-pixel";
    r.width = 1;
    r.height = 1;
    r.frames = 10;
    return r;
}

const std::map<std::string, Maker>& makers() {
    static const std::map<std::string, Maker> table = {
        {"ZeroBytes", zeroBytes},
        {"HeaderOnly", derived("header-only.avi", keepHeaderOnly)},
        {"CutAt10Percent", derived("cut-10.avi", [](Bytes& b) { cutAt(b, 10); })},
        {"CutAt90Percent", derived("cut-90.avi", [](Bytes& b) { cutAt(b, 90); })},
        {"RandomBytes", randomBytes},
        {"CorruptedPacket", derived("damaged.avi", damageMiddlePacket)},
        {"OneFrame", generated(oneFrame())},
        {"SoundOnly", soundOnly},
        {"VideoOnly", generated(recipes::silentAvi())},
        {"OnePixel", generated(onePixel())},
        {"VariableRate", generated(recipes::variableRateMkv())},
        {"UnusualPath", unusualPath},
        {"FolderNamedAvi", folderNamedAvi},
        {"Unreadable", unreadable},
    };
    return table;
}

}  // namespace

std::vector<HostileCase> hostileCases() {
    using enum HostileOutcome;
    return {
        {"ZeroBytes", Refused},
        {"HeaderOnly", Refused},
        {"CutAt10Percent", OpensOrRefused},
        {"CutAt90Percent", OpensOrRefused},
        {"RandomBytes", Refused},
        {"CorruptedPacket", Opens, 100, true},
        {"OneFrame", Opens, 1, true},
        {"SoundOnly", Refused},
        {"VideoOnly", Opens, 50, false},
        {"OnePixel", Opens, 10, true},
        {"VariableRate", Opens, 180, false},  // 25 then 50 fps: played at 50 fps by time
        {"UnusualPath", Opens, 50, true},
        {"FolderNamedAvi", Refused},
        {"Unreadable", Refused},
    };
}

std::optional<fs::path> makeHostileMedia(const HostileCase& hostile, const fs::path& folder, std::string* skipReason) {
    const auto maker = makers().find(hostile.name);
    if (maker == makers().end()) throw std::invalid_argument("no hostile media case " + hostile.name);
    fs::create_directories(folder);
    return maker->second(folder, skipReason);
}

std::optional<fs::path> wellFormedClip(std::string* skipReason) {
    MediaRecipe r = recipes::ffv1Avi();
    r.frames = 50;
    return testMedia(r, skipReason);
}

}  // namespace vistrel::test
