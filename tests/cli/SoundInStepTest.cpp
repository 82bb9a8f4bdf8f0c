// The edit's sound in step with its picture in a real render: cameras and a
// sound recorder of one event whose pictures flash and whose sound clicks at
// the same moments (support/MarkedEvent.h), cut together in the script the
// editor writes, angle A from its frame 25, rendered by vistrel-render and
// read back: every click lies on the frame that shows its flash, and the
// sound ends with the picture.

#include "engine/Open.h"
#include "engine/clips/AudioSamples.h"
#include "engine/script/WrittenScripts.h"
#include "support/MarkedEvent.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <set>

using namespace vistrel;

namespace {

constexpr double kEditStart = 1.0;  // angle A's frame 25: A starts with the event
const test::MarkedRecording kCameraA{"camera-a", 0.0}, kCameraB{"camera-b", 0.4};

struct SoundRow {
    const char* name;
    const char* overlap;  // "20": crossfades; "0": cuts
    bool fades;
    test::MarkedRecording recording;  // no name: angle A's sound
    const char* output;
};

// A recorder's file whose startMs'th millisecond is the edit's start.
test::MarkedRecording recorder(const char* type, const char* encoder, int64_t startMs, double seconds) {
    return {std::string("recorder-") + type, kEditStart - double(startMs) / 1000, seconds, type, encoder};
}

bool flashes(const engine::Frame& frame) {
    int64_t sum = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) sum += frame.plane(0).row(y)[x];
    return sum > int64_t(128) * frame.width() * frame.height();
}

// Where each click starts, in samples: the first sample at half its peak or more.
std::vector<int64_t> clickStarts(engine::Clip& clip) {
    const engine::VideoInfo& info = clip.info();
    std::vector<float> sound(size_t(info.audioSamples * info.channels));
    engine::readAudioAs(clip, engine::SampleType::Float32, sound.data(), 0, info.audioSamples);
    const auto at = [&](int64_t s) { return std::abs(sound[size_t(s * info.channels)]); };
    const int64_t ms = info.audioRate / 1000;
    std::vector<int64_t> starts;
    for (int64_t s = 0; s < info.audioSamples; ++s) {
        if (at(s) < 0.3f) continue;
        const int64_t from = std::max<int64_t>(0, s - 2 * ms), to = std::min(info.audioSamples, s + 10 * ms);
        float peak = 0;
        for (int64_t i = from; i < to; ++i) peak = std::max(peak, at(i));
        for (s = from; at(s) < peak / 2; ++s) {}
        starts.push_back(s);
        s = to + 10 * ms;
    }
    return starts;
}

class SoundInStep : public ::testing::TestWithParam<SoundRow> {};

TEST_P(SoundInStep, EveryClickLiesOnItsFlashAndTheSoundEndsWithThePicture) {
    const SoundRow& row = GetParam();
    std::string reason;
    const auto a = test::markedRecording(kCameraA, &reason), b = test::markedRecording(kCameraB, &reason);
    const bool recorded = !row.recording.name.empty();
    const auto recording = recorded ? test::markedRecording(row.recording, &reason) : a;
    if (!a || !b || !recording) GTEST_SKIP() << reason;

    test::EditScriptInput edit;
    edit.clips = {a->string(), b->string()};
    edit.startFrames = {"25", "15"};  // B started 10 frames after A
    edit.switches = {"00000000|A", "00000150|B", "00000300|A"};
    edit.overlap = row.overlap;
    edit.fadeIn = row.fades ? "fadein(overlap)" : "";
    edit.fadeOut = row.fades ? "fadeout(overlap)" : "";
    if (recorded) {
        edit.recording = recording->string();
        edit.recordingStartMs = std::llround((kEditStart - row.recording.startSeconds) * 1000);
    }
    QTemporaryDir folder;
    const QString script = folder.filePath("edit.avs"), out = folder.filePath(QString("edit.") + row.output);
    std::ofstream(script.toStdString(), std::ios::binary) << test::editScript(edit);
    QProcess render;
    render.start(QStringLiteral(VISTREL_RENDER_PATH), {script, "-o", out, "-q"});
    ASSERT_TRUE(render.waitForFinished(240000));
    ASSERT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();

    // The moments shown, clear of the fades, and those heard, as frames of the render.
    const test::MarkedRecording& sound = recorded ? row.recording : kCameraA;
    std::set<int64_t> shown, heard, flashFrames, clickFrames;
    for (double moment : test::markedMoments()) {
        if (moment <= kEditStart || moment >= kCameraA.seconds) continue;
        const int64_t frame = std::llround((moment - kEditStart) * test::kMarkedFps) + (row.fades ? 1 : 0);
        shown.insert(frame);
        if (moment >= sound.startSeconds && moment < sound.startSeconds + sound.seconds) heard.insert(frame);
    }
    const engine::ClipPtr rendered = engine::openClip(out.toStdString());
    const engine::VideoInfo& info = rendered->info();
    for (int64_t n = 0; n < info.frameCount; ++n)
        if (flashes(*rendered->frame(n))) flashFrames.insert(n);
    for (int64_t start : clickStarts(*rendered)) {
        const double seconds = double(start) / info.audioRate;
        const int64_t frame = std::llround(seconds * info.fps.toDouble());
        EXPECT_NEAR(seconds, double(frame) / info.fps.toDouble(), 0.001) << "the click at sample " << start;
        clickFrames.insert(frame);
    }
    EXPECT_EQ(flashFrames, shown);
    EXPECT_EQ(clickFrames, heard);
    EXPECT_LT(std::abs(info.audioSamples - info.samplesBeforeFrame(info.frameCount)), info.samplesBeforeFrame(1))
        << "the sound ends within a frame of the picture";
}

INSTANTIATE_TEST_SUITE_P(
    Renders, SoundInStep,
    ::testing::Values(SoundRow{"AngleASoundUnderCrossfadesAndFades", "20", true, {}, "mkv"},
                      SoundRow{"AngleASoundUnderCutsInMp4", "0", false, {}, "mp4"},
                      SoundRow{"WavLongerThanTheEdit", "20", true, recorder("wav", "pcm_s16le", 12345, 40), "mkv"},
                      SoundRow{"WavStartedLateEndingEarly", "0", false, recorder("wav", "pcm_s16le", -480, 12), "mkv"},
                      SoundRow{"FlacInMp4", "20", true, recorder("flac", "flac", 12345, 40), "mp4"},
                      SoundRow{"M4a", "20", false, recorder("m4a", "aac", 3000, 30), "mkv"},
                      SoundRow{"CameraFileWhosePictureIsIgnored", "20", false, kCameraB, "mkv"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
