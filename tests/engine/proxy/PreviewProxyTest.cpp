// Preview proxies end to end: built with vistrel-render's builder from
// generated media, read back through the preview's own script line in an
// evaluation that prefers proxies, against the clip itself.
#include "engine/Open.h"
#include "engine/core/ScriptError.h"
#include "engine/proxy/ProxiedSource.h"
#include "engine/proxy/ProxyBuilder.h"
#include "engine/proxy/ProxyFile.h"
#include "engine/proxy/ProxyPictures.h"
#include "support/TestMedia.h"

#include <QTemporaryDir>

#include <cstdlib>
#include <fstream>

namespace vistrel::test {
namespace {

namespace fs = std::filesystem;

struct StopBuild {};

class PreviewProxyTest : public ::testing::Test {
protected:
    fs::path folder() const { return dir_.path().toStdString(); }
    fs::path proxyFolder() const { return folder() / "proxy"; }

    engine::ProxyBuildResult build(const fs::path& clip, int64_t stopAt = -1) {
        engine::ProxyBuildOptions options;
        options.proxyFolder = proxyFolder();
        options.indexFolder = folder() / "index";
        options.progress = [stopAt](int64_t done, int64_t) {
            if (done == stopAt) throw StopBuild{};
        };
        return engine::buildProxy(clip.string(), options);
    }

    // The preview's line for one angle, opened as the player or as vistrel-render opens it.
    engine::ClipPtr openAngle(const fs::path& clip, bool preferProxies, const std::string& resize = "176,120") {
        const fs::path script = folder() / "angle.avs";
        std::ofstream(script) << "avisource(\"" << clip.string() << "\").bilinearresize(" << resize << ")\r\n";
        engine::OpenOptions options;
        options.indexFolder = folder() / "index";
        options.proxyFolder = proxyFolder();
        options.preferPreviewProxies = preferProxies;
        return engine::openClip(script.string(), options);
    }

    static bool readsProxy(const engine::ClipPtr& clip) {
        return dynamic_cast<engine::ProxyPictures*>(clip.get()) != nullptr;
    }

    // Frames in an order that steps, jumps back across keyframes and ends on
    // the last frame: each shows its own index, or the same picture as the
    // reference's frame (a variable-rate clip repeats pictures to keep time).
    static void expectFrames(engine::Clip& clip, engine::Clip* reference = nullptr) {
        const int64_t count = clip.info().frameCount;
        std::vector<int64_t> order;
        for (int64_t n = 0; n < count; ++n) order.push_back(n);
        for (int64_t n :
             {count / 2, int64_t(11), int64_t(12), int64_t(13), count - 1, int64_t(0), count - 13, int64_t(5)})
            order.push_back(n);
        int wrong = 0;
        for (int64_t n : order) {
            const int expected = reference ? readFrameIndex(*reference->frame(n)) : int(n);
            if (const int shown = readFrameIndex(*clip.frame(n)); shown != expected && ++wrong <= 5)
                ADD_FAILURE() << "asked for frame " << n << ", got picture " << shown << " for " << expected;
        }
        EXPECT_EQ(wrong, 0);
    }

    fs::path proxyFileOf(const fs::path& clip) const {
        return engine::proxyPathsOf(proxyFolder(), clip.string()).complete;
    }

    fs::path copyInto(const fs::path& from, const std::string& name) const {
        fs::copy_file(from, folder() / name, fs::copy_options::overwrite_existing);
        return folder() / name;
    }

private:
    QTemporaryDir dir_;
};

class ProxyNumberingTest : public PreviewProxyTest, public ::testing::WithParamInterface<MediaRecipe> {};

// Luma of a proxy picture against the exact resize: only the coding loss apart.
double meanLumaDifference(const engine::Frame& a, const engine::Frame& b) {
    double sum = 0;
    const engine::Plane &pa = a.plane(0), &pb = b.plane(0);
    for (int y = 0; y < pa.rows; ++y)
        for (int x = 0; x < pa.rowBytes; ++x) sum += std::abs(pa.row(y)[x] - pb.row(y)[x]);
    return sum / (pa.rows * pa.rowBytes);
}

TEST_P(ProxyNumberingTest, ThePreviewReadsTheProxyFrameForFrameAsTheClip) {
    VISTREL_TEST_MEDIA_OR_SKIP(clip, GetParam());
    const engine::ProxyBuildResult built = build(clip);
    EXPECT_EQ(built.resumedAt, 0);

    const engine::ClipPtr proxy = openAngle(clip, true);
    const engine::ClipPtr exact = openAngle(clip, false);
    EXPECT_EQ(built.frames, exact->info().frameCount);
    ASSERT_TRUE(readsProxy(proxy));
    ASSERT_FALSE(readsProxy(exact)) << "vistrel-render and saved edits read the clip";
    EXPECT_EQ(proxy->info().frameCount, exact->info().frameCount);
    EXPECT_EQ(proxy->info().fps, exact->info().fps);
    EXPECT_EQ(proxy->info().audioSamples, exact->info().audioSamples);
    expectFrames(*proxy, exact.get());
    for (int64_t n : {int64_t(0), proxy->info().frameCount / 2, proxy->info().frameCount - 1})
        EXPECT_LT(meanLumaDifference(*proxy->frame(n), *exact->frame(n)), 3.0) << "frame " << n;
}

INSTANTIATE_TEST_SUITE_P(Media, ProxyNumberingTest,
                         ::testing::Values(recipes::h264Ts(), recipes::variableRateMkv(), recipes::mpeg4BFramesAvi(),
                                           recipes::ntscH264Mkv(), recipes::mjpegAvi()),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::erase(name, '-');
                             return name;
                         });

TEST_F(PreviewProxyTest, OnlyThePreviewResizeOfAPlainSourceReadsTheProxyAndTheSoundIsTheClips) {
    VISTREL_TEST_MEDIA_OR_SKIP(clip, recipes::ntscStereoAvi());
    build(clip);
    EXPECT_FALSE(readsProxy(openAngle(clip, true, "352,240")));
    EXPECT_FALSE(readsProxy(openAngle(clip, true, "176,120,8,0,-8,0")));
    const engine::ClipPtr proxy = openAngle(clip, true);
    const engine::ClipPtr exact = openAngle(clip, false);
    ASSERT_TRUE(readsProxy(proxy));
    ASSERT_TRUE(proxy->info().hasAudio());
    std::vector<int16_t> heard(2 * 4000), expected(2 * 4000);
    proxy->audio(heard.data(), 20000, 4000);
    exact->audio(expected.data(), 20000, 4000);
    EXPECT_EQ(heard, expected);
}

TEST_F(PreviewProxyTest, ABuildThatStoppedGoesOnWhereItStopped) {
    VISTREL_TEST_MEDIA_OR_SKIP(clip, recipes::h264Mp4());
    EXPECT_THROW(build(clip, 101), StopBuild);
    EXPECT_FALSE(fs::exists(proxyFileOf(clip)));
    EXPECT_FALSE(readsProxy(openAngle(clip, true))) << "a half-built proxy is not read";

    // A kill in the middle of a record: the next build drops the cut record.
    const fs::path partial = engine::proxyPathsOf(proxyFolder(), clip.string()).partial;
    fs::resize_file(partial, fs::file_size(partial) - 7);
    const engine::ProxyBuildResult resumed = build(clip);
    EXPECT_EQ(resumed.resumedAt, 100);
    EXPECT_FALSE(fs::exists(partial));
    const engine::ClipPtr proxy = openAngle(clip, true);
    ASSERT_TRUE(readsProxy(proxy));
    expectFrames(*proxy);
    EXPECT_EQ(build(clip).resumedAt, resumed.frames) << "a complete proxy is left as it is";
}

TEST_F(PreviewProxyTest, ADamagedProxyIsNotReadAndIsMadeAgain) {
    VISTREL_TEST_MEDIA_OR_SKIP(clip, recipes::mpeg4ClosedGopAvi());
    for (const int64_t fromEnd : {int64_t(3), int64_t(-1)}) {  // the index's closing words; a picture in the middle
        build(clip);
        const fs::path file = proxyFileOf(clip);
        const int64_t at = fromEnd >= 0 ? int64_t(fs::file_size(file)) - fromEnd : int64_t(fs::file_size(file)) / 2;
        std::fstream bytes(file, std::ios::binary | std::ios::in | std::ios::out);
        bytes.seekg(at);
        const char was = char(bytes.get());
        bytes.seekp(at);
        bytes.put(char(~was));
        bytes.close();

        const engine::ClipPtr angle = openAngle(clip, true);
        if (fromEnd >= 0) {
            EXPECT_FALSE(readsProxy(angle));
        }
        expectFrames(*angle);  // from the clip, wherever the proxy fails
        EXPECT_FALSE(fs::exists(file) && readsProxy(openAngle(clip, true)));
        EXPECT_EQ(build(clip).resumedAt, 0) << "made again from the start";
        EXPECT_TRUE(readsProxy(openAngle(clip, true)));
    }
}

// The clip without compression, its frames in order or reversed: two
// recordings of exactly the same size.
fs::path uncompressed(const fs::path& clip, bool reversed) {
    const std::string name = clip.stem().string() + (reversed ? "-reversed" : "") + "-raw";
    const auto make = [&](const fs::path& part) {
        QStringList args{"-loglevel", "error", "-nostdin", "-y", "-i", QString::fromStdString(clip.string())};
        if (reversed) args += QStringList{"-vf", "reverse"};
        runFfmpeg(args + QStringList{"-c:v", "rawvideo", "-pix_fmt", "yuv420p", QString::fromStdString(part.string())});
    };
    return cachedTestFile(stableName(name, clip.filename().string() + "|rawvideo yuv420p", "avi"), make);
}

// false: another recording copied over the clip; true: one of the same
// length, copied with its time kept (cp -p, rsync -t).
class ChangedClipTest : public PreviewProxyTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ChangedClipTest, IsReadItselfUntilItsOwnProxyIsMade) {
    const bool sameSizeAndTime = GetParam();
    VISTREL_TEST_MEDIA_OR_SKIP(shortClip, recipes::silentAvi());
    VISTREL_TEST_MEDIA_OR_SKIP(longClip, recipes::ffv1Avi());
    const fs::path before = sameSizeAndTime ? uncompressed(shortClip, false) : shortClip;
    const fs::path after = sameSizeAndTime ? uncompressed(shortClip, true) : longClip;
    const fs::path clip = copyInto(before, "camera.avi");
    build(clip);
    ASSERT_TRUE(readsProxy(openAngle(clip, true)));
    const auto changedAt = fs::last_write_time(clip);
    copyInto(after, "camera.avi");
    if (sameSizeAndTime) {
        fs::last_write_time(clip, changedAt);
        ASSERT_EQ(fs::file_size(clip), fs::file_size(before));
    }
    const engine::ClipPtr exact = openAngle(clip, false);
    const engine::ClipPtr changed = openAngle(clip, true);
    EXPECT_FALSE(readsProxy(changed));
    expectFrames(*changed, exact.get());
    EXPECT_EQ(build(clip).resumedAt, 0);
    const engine::ClipPtr rebuilt = openAngle(clip, true);
    ASSERT_TRUE(readsProxy(rebuilt));
    expectFrames(*rebuilt, exact.get());
}

INSTANTIATE_TEST_SUITE_P(Clips, ChangedClipTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "SameSizeAndTimeKept" : "NewSizeAndTime"; });

TEST_F(PreviewProxyTest, ScriptsAndRgbClipsGetNoProxyAndSaySo) {
    VISTREL_TEST_MEDIA_OR_SKIP(rgb, recipes::rawBgrAvi());
    const fs::path script = folder() / "clip.avs";
    std::ofstream(script) << "blankclip()\r\n";
    for (const fs::path& clip : {script, rgb}) {
        try {
            build(clip);
            ADD_FAILURE() << clip << " got a proxy";
        } catch (const engine::ScriptError& e) {
            EXPECT_NE(std::string(e.what()).find("Cannot make a proxy of '" + clip.string() + "'"), std::string::npos)
                << e.what();
        }
    }
}

}  // namespace
}  // namespace vistrel::test
