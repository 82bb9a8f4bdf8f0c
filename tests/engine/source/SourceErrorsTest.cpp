// Files that cannot be read give a message that names the file and says why;
// none of them crashes or hangs. Unusual but valid paths work.
#include "SourceFixture.h"
#include "engine/Script.h"
#include "engine/filters/FunctionTable.h"
#include "engine/script/Value.h"

#include <fstream>
#include <random>
#include <tuple>

namespace vistrel::test {
namespace {

namespace fs = std::filesystem;

std::string couldNotOpen(const fs::path& file) { return "AVISource: couldn't open file '" + file.string() + "'\n"; }

void writeBytes(const fs::path& file, const std::vector<char>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<char> firstBytes(const fs::path& file, size_t count) {
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes(count);
    in.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

// A minimal RIFF WAVE file: one second of 16-bit mono silence, no video at all.
std::vector<char> waveFile() {
    const uint32_t rate = 8000, dataBytes = rate * 2;
    std::vector<char> bytes;
    auto put = [&bytes](uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    auto tag = [&bytes](const char* text) { bytes.insert(bytes.end(), text, text + 4); };
    tag("RIFF"), put(36 + dataBytes, 4), tag("WAVE"), tag("fmt "), put(16, 4), put(1, 2), put(1, 2);
    put(rate, 4), put(rate * 2, 4), put(2, 2), put(16, 2), tag("data"), put(dataBytes, 4);
    bytes.resize(bytes.size() + dataBytes, 0);
    return bytes;
}

TEST_F(SourceTest, AMissingFileIsNamedWithTheReason) {
    const fs::path file = scratchFolder() / "missing.avi";
    EXPECT_EQ(openError(file), couldNotOpen(file) + "The file does not exist.");
}

TEST_F(SourceTest, AFolderIsNotAFile) {
    EXPECT_EQ(openError(scratchFolder()), couldNotOpen(scratchFolder()) + "This is a folder, not a file.");
}

TEST_F(SourceTest, AnEmptyFileIsRefused) {
    const fs::path file = scratchFolder() / "empty.avi";
    writeBytes(file, {});
    EXPECT_EQ(openError(file), couldNotOpen(file) + "The file is empty.");
}

TEST_F(SourceTest, RandomBytesAreRefusedWithFfmpegsReason) {
    const fs::path file = scratchFolder() / "noise.avi";
    std::mt19937 random(7);
    std::vector<char> noise(200000);
    for (char& c : noise) c = static_cast<char>(random());
    writeBytes(file, noise);
    EXPECT_EQ(openError(file), couldNotOpen(file) + "Invalid data found when processing input");
}

TEST_F(SourceTest, AnMp4CutBeforeItsHeaderIsRefusedWithFfmpegsReason) {
    VISTREL_TEST_MEDIA_OR_SKIP(whole, recipes::h264Mp4());  // ffmpeg writes the header at the end
    const fs::path file = scratchFolder() / "half.mp4";
    writeBytes(file, firstBytes(whole, fs::file_size(whole) / 2));
    EXPECT_EQ(openError(file), couldNotOpen(file) + "Invalid data found when processing input");
}

// Opened for its sound only, a sound recording is a clip without video.
TEST_F(SourceTest, AFileWithoutVideoIsRefusedUnlessOpenedForItsSound) {
    const fs::path file = scratchFolder() / "sound.wav";
    writeBytes(file, waveFile());
    EXPECT_EQ(openError(file), couldNotOpen(file) + "The file has no video.");
    engine::SourceOptions options;
    options.video = false;
    const engine::VideoInfo info = open(file, options)->info();
    EXPECT_EQ(std::tuple(info.hasVideo(), info.audioRate, info.channels, info.audioSamples),
              std::tuple(false, 8000, 1, int64_t(8000)));
}

TEST_F(SourceTest, ATruncatedFileOpensWhatIsThereOrSaysWhy) {
    VISTREL_TEST_MEDIA_OR_SKIP(whole, recipes::mpeg4BFramesAvi());
    for (size_t keep : {size_t(100), size_t(4000), fs::file_size(whole) / 2}) {
        const fs::path file = scratchFolder() / ("cut-" + std::to_string(keep) + ".avi");
        writeBytes(file, firstBytes(whole, keep));
        try {
            auto clip = open(file);
            const int64_t count = clip->info().frameCount;
            EXPECT_LT(count, 200);
            // The end of a cut file may lack the B-frames shown before its last
            // P-frame, so only frames well before the cut are known.
            for (int64_t n : {int64_t(0), count / 2}) EXPECT_EQ(readFrameIndex(*clip->frame(n)), n);
            EXPECT_GE(readFrameIndex(*clip->frame(count - 1)), count - 1);
            std::vector<int16_t> samples(2 * 1000);
            clip->audio(samples.data(), clip->info().audioSamples - 500, 1000);
        } catch (const engine::ScriptError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(couldNotOpen(file), 0), 0u) << e.what();
        }
    }
}

TEST_F(SourceTest, AVariableFrameRateIsConformedNotMisnumbered) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::variableRateMkv());
    // 60 frames at 25 fps, then 60 at 50 fps: as common as each other, so 50
    // fps, which shows every frame and the first 60 twice each.
    auto clip = open(file);
    EXPECT_EQ(clip->info().fps, (engine::Rational{50, 1}));
    ASSERT_EQ(clip->info().frameCount, 180);
    for (int64_t n : {0, 1, 2, 119, 120, 150, 179})
        EXPECT_EQ(readFrameIndex(*clip->frame(n)), n < 120 ? n / 2 : n - 60) << "frame " << n;
}

TEST_F(SourceTest, PathsWithBlanksAndNonAsciiLettersWork) {
    VISTREL_TEST_MEDIA_OR_SKIP(original, recipes::h264BFramesAvi());
    const fs::path file = scratchFolder() / "Kamera 2 – Bühne 日本.avi";
    fs::copy_file(original, file);
    auto clip = open(file);
    EXPECT_EQ(readFrameIndex(*clip->frame(77)), 77);
    EXPECT_EQ(openError(scratchFolder() / "Kamera 3 – Bühne.avi").find("does not exist"),
              couldNotOpen(scratchFolder() / "Kamera 3 – Bühne.avi").size() + 9);
}

// The script function: one file, its options, and scripts given as sources.
class AviSourceFunctionTest : public SourceTest {
protected:
    engine::Value call(std::vector<engine::Value> files, engine::Value audio = {}, engine::Value pixelType = {}) {
        std::vector<std::vector<engine::Value>> bound{std::move(files), {}, {}};
        if (engine::isDefined(audio)) bound[1] = {audio};
        if (engine::isDefined(pixelType)) bound[2] = {pixelType};
        env_.indexFolder = indexFolder();
        env_.runScriptFile = engine::evaluateScriptFile;  // as the evaluator sets it
        return engine::createAviSource(engine::Args(std::move(bound)), env_);
    }
    std::string callError(std::vector<engine::Value> files, engine::Value pixelType = {}) {
        try {
            call(std::move(files), {}, std::move(pixelType));
        } catch (const engine::ScriptError& e) {
            return e.what();
        }
        return "(no error)";
    }

    engine::Environment env_;
};

TEST_F(AviSourceFunctionTest, OpensAFileWithItsOptions) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::ffv1Avi());
    auto clip = std::get<engine::ClipPtr>(call({file.string()}, false, std::string("rgb32")));
    EXPECT_FALSE(clip->info().hasAudio());
    EXPECT_EQ(clip->info().pixelType, engine::PixelType::RGB32);
    EXPECT_EQ(readFrameIndex(*clip->frame(42)), 42);
    EXPECT_TRUE(fs::exists(indexFolder())) << "the environment's index folder is used";
}

TEST_F(AviSourceFunctionTest, RefusesSeveralFiles) {
    EXPECT_EQ(callError({std::string("a.avi"), std::string("b.avi")}), "AVISource: only one file is supported");
}

TEST_F(AviSourceFunctionTest, RefusesAnUnknownPixelType) {
    EXPECT_EQ(callError({std::string("a.avi")}, std::string("YV16")),
              "AVISource: pixel_type must be \"YV12\", \"YUY2\", \"RGB32\" or \"RGB24\", not \"YV16\"");
}

TEST_F(AviSourceFunctionTest, AScriptNameRunsTheScript) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::silentAvi());
    const fs::path script = scratchFolder() / "angle.AVS";
    std::ofstream(script) << "AVISource(\"" << file.string() << "\").Trim(10, 19)\r\n";
    auto clip = std::get<engine::ClipPtr>(call({script.string()}));
    EXPECT_EQ(clip->info().frameCount, 10);
    EXPECT_EQ(readFrameIndex(*clip->frame(0)), 10);
}

TEST_F(AviSourceFunctionTest, ARelativeNameInAScriptStartsFromTheScriptsFolder) {
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipes::silentAvi());
    fs::create_directories(scratchFolder() / "edit" / "clips");
    fs::copy_file(file, scratchFolder() / "edit" / "clips" / "angle a.avi");
    const fs::path script = scratchFolder() / "edit" / "preview.avs";
    std::ofstream(script) << "AVISource(\"clips/angle a.avi\")\r\n";
    auto clip = std::get<engine::ClipPtr>(call({script.string()}));
    EXPECT_EQ(readFrameIndex(*clip->frame(33)), 33);

    std::ofstream(script, std::ios::trunc) << "AVISource(\"clips/angle b.avi\")\r\n";
    const std::string message = callError({script.string()});
    EXPECT_EQ(message.rfind("AVISource: couldn't open file 'clips/angle b.avi'\nThe file does not exist.", 0), 0u)
        << message;
}

}  // namespace
}  // namespace vistrel::test
