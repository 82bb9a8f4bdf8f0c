// The cut handed on and played by what reads it: a four-angle edit with
// crossfades and fades (angle A an AVI with the sound, B MPEG-TS, C a 30 fps
// MP4 conformed to 25 fps by its one-line script, D an MP4) exported by
// `vistrel-render --export`, then the .mlt rendered by `melt` and the portable
// .avs by the engine, each compared with the edit script's own render.

#include "engine/Open.h"
#include "engine/script/WrittenScripts.h"
#include "support/TestMedia.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>

using namespace vistrel;

namespace {

constexpr int kOverlap = 10;
const std::vector<int64_t> kSwitchFrames = {0, 40, 80, 120, 160};
const std::vector<std::string> kSwitchAngles = {"A", "B", "C", "D", "A"};
const std::vector<int64_t> kStartFrames = {0, 7, 14, 21};  // every angle shows other frame numbers
constexpr int64_t kConformedRow = 2;

void run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    ASSERT_TRUE(process.waitForFinished(240000)) << program.toStdString() << " did not finish";
    ASSERT_EQ(process.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(process.exitCode(), 0) << program.toStdString() << ": " << process.readAllStandardError().toStdString();
}

double psnr(const engine::Frame& a, const engine::Frame& b) {
    double squares = 0;
    int64_t count = 0;
    for (int p = 0; p < 3; ++p) {
        const int w = p == 0 ? a.width() : a.width() / 2, h = p == 0 ? a.height() : a.height() / 2;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const double d = double(a.plane(p).row(y)[x]) - double(b.plane(p).row(y)[x]);
                squares += d * d;
                ++count;
            }
    }
    return squares == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / (squares / double(count)));
}

// The frames of the edit MLT must show as the edit does (the fade-in's
// black frame before the time line's): every frame without angle C, whose
// crossfades and fades included, and the middle of C's segment. C plays
// 30 fps at 25 by time; the edit shows the frame on screen there, MLT the
// nearest one (the export says so), so its frame is one where both agree.
bool judged(int64_t editFrame) {
    const int64_t t = editFrame - 1;
    const int64_t cFirst = kSwitchFrames[kConformedRow] - kOverlap + 1, cLast = kSwitchFrames[kConformedRow + 1];
    int64_t middle = (cFirst + cLast) / 2;
    while ((middle + kStartFrames[kConformedRow]) * 30 % 25 >= 13) ++middle;
    return t < cFirst || t > cLast || t == middle;
}

struct ExportRow {
    const char* name;
    const char* extension;
    // Renders the exported file into a media file; none: the engine runs it.
    std::function<void(const QString& exported, const QString& out)> render;
    bool sameFrames;  // every frame and sample count as the edit script's, else the judged frames within 35 dB
};

class ExportRender : public ::testing::TestWithParam<ExportRow> {};

TEST_P(ExportRender, ThePlayerOfTheFormatShowsTheEdit) {
    const ExportRow& row = GetParam();
    test::MediaRecipe c30 = test::recipes::h264Mp4();
    c30.name = "h264-mp4-30fps";
    c30.fpsNum = 30;
    c30.frames = 240;
    VISTREL_TEST_MEDIA_OR_SKIP(a, test::recipes::ffv1Avi());
    VISTREL_TEST_MEDIA_OR_SKIP(b, test::recipes::h264Ts());
    VISTREL_TEST_MEDIA_OR_SKIP(c, c30);
    VISTREL_TEST_MEDIA_OR_SKIP(d, test::recipes::h264Mp4());

    QTemporaryDir folder;
    const std::string conformed = folder.filePath("c-25fps.avs").toStdString();
    std::ofstream(conformed, std::ios::binary) << "ChangeFPS(avisource(\"" << c.string() << "\"), 25, 1)\r\n";
    test::EditScriptInput input;
    input.clips = {a.string(), b.string(), conformed, d.string()};
    for (size_t i = 0; i < kSwitchFrames.size(); ++i) {
        char point[16];
        std::snprintf(point, sizeof point, "%08lld|", static_cast<long long>(kSwitchFrames[i]));
        input.switches.push_back(point + kSwitchAngles[i]);
    }
    for (int64_t start : kStartFrames) input.startFrames.push_back(std::to_string(start));
    input.overlap = std::to_string(kOverlap);
    input.fadeIn = "fadein(overlap)";
    input.fadeOut = "fadeout(overlap)";
    const QString edit = folder.filePath("edit.avs"), exported = folder.filePath(QString("cut.") + row.extension);
    std::ofstream(edit.toStdString(), std::ios::binary) << test::editScript(input);

    const QString render = QStringLiteral(VISTREL_RENDER_PATH);
    ASSERT_NO_FATAL_FAILURE(run(render, {edit, "--export", exported}));
    if (row.sameFrames) {
        const engine::ClipPtr mine = engine::openClip(edit.toStdString()),
                              other = engine::openClip(exported.toStdString());
        ASSERT_EQ(other->info().frameCount, mine->info().frameCount);
        ASSERT_EQ(other->info().audioSamples, mine->info().audioSamples);
        for (int64_t n = 0; n < mine->info().frameCount; ++n)
            ASSERT_EQ(psnr(*mine->frame(n), *other->frame(n)), 99.0) << "frame " << n;
        return;
    }
    const QString theirs = folder.filePath("theirs.mkv"), ours = folder.filePath("ours.mkv");
    ASSERT_NO_FATAL_FAILURE(row.render(exported, theirs));
    ASSERT_NO_FATAL_FAILURE(run(render, {edit, "-o", ours, "-q"}));
    const engine::ClipPtr mine = engine::openClip(ours.toStdString()), other = engine::openClip(theirs.toStdString());
    ASSERT_EQ(other->info().frameCount, mine->info().frameCount);
    for (int64_t n = 0; n < mine->info().frameCount; ++n) {
        if (!judged(n)) continue;
        EXPECT_GE(psnr(*mine->frame(n), *other->frame(n)), 35.0) << "frame " << n;
    }
}

void renderWithMelt(const QString& mlt, const QString& out) {
    const QString melt = QStandardPaths::findExecutable("melt");
    ASSERT_FALSE(melt.isEmpty()) << "melt is not installed (make deps installs it)";
    run(melt, {mlt, "-silent", "-consumer", "avformat:" + out, "vcodec=ffv1", "pix_fmt=yuv420p", "acodec=pcm_s16le",
               "real_time=0"});
}

INSTANTIATE_TEST_SUITE_P(Formats, ExportRender,
                         ::testing::Values(ExportRow{"MltRenderedByMelt", "mlt", renderWithMelt, false},
                                           ExportRow{"PortableScriptThroughTheEngine", "avs", {}, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
