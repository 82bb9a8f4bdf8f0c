// The start frames found from generated angles of one made-up event, read
// through the real decoder: each row is angle A and one more camera, with
// the offset between them known to the sample and their clocks' rates to the
// part per million.
#include "support/SoundAngles.h"
#include "sync/StartFrameMatch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace vistrel::test {
namespace {

struct MatchRow {
    std::string name;
    SoundAngle a;
    SoundAngle angle;
    double toleranceMs = 1;
    std::optional<double> driftSeconds = {};  // the drift to be reported, within 3 ms
    double leastConfidence = sync::kSureConfidence;
};

void PrintTo(const MatchRow& row, std::ostream* out) { *out << row.name; }

SoundAngle angleA() { return soundAngle("a", 10); }

SoundAngle with(SoundAngle angle, auto change) {
    change(angle);
    return angle;
}

SoundAngle camcorder(std::string name, double start, std::string encoder, std::string container) {
    SoundAngle angle = soundAngle(std::move(name), start);
    angle.encoder = std::move(encoder);
    angle.container = std::move(container);
    angle.videoEncoder = "libx264";
    angle.videoOptions = {"-x264-params", "bframes=2:b-adapt=0:keyint=25:scenecut=0"};
    return angle;
}

std::vector<MatchRow> rows() {
    const SoundAngle a = angleA();
    const SoundAngle longA = with(soundAngle("a-long", 5), [](auto& s) { s.seconds = 200; });
    const SoundAngle a300 = with(a, [](auto& s) {
        s.name = "a-300s";
        s.seconds = 300;
    });
    // A clock 104 ppm fast.
    const SoundAngle fast = with(soundAngle("fast", 10.84), [](auto& s) {
        s.seconds = 300;
        s.clockRate = 47995;
    });
    const auto beat = [](std::string name, double start, std::string encoder, std::string container) {
        SoundAngle angle = soundAngle(std::move(name), start);
        angle.event = Event::Beat;
        angle.encoder = std::move(encoder);
        angle.container = std::move(container);
        return angle;
    };
    const SoundAngle beatA = beat("beat-a", 10, "pcm_s16le", "mkv");
    return {
        {"WholeFramesLater", a, soundAngle("later21", 10.84)},
        {"FractionalFramesEarlier", a, soundAngle("earlier67", 7.31)},
        {"FractionalFramesLater", a, soundAngle("later63", 12.527)},
        {"MinutesLater", longA, with(soundAngle("later95s", 100), [](auto& s) { s.seconds = 150; })},
        {"MinutesEarlier",
         with(longA,
              [](auto& s) {
                  s.startSeconds = 150;
                  s.seconds = 160;
              }),
         with(soundAngle("earlier130s", 20), [](auto& s) { s.seconds = 200; })},
        {"ShortClipInTheMiddleOfALongA", with(longA, [](auto& s) { s.seconds = 120; }),
         with(soundAngle("short-at-70s", 75), [](auto& s) { s.seconds = 20; })},
        {"QuieterBy26dB", a, with(soundAngle("quiet", 9.47), [](auto& s) { s.filters = "volume=0.05"; })},
        {"NoiseAsLoudAsTheSound", a, with(soundAngle("noise0db", 11.13), [](auto& s) { s.snrDb = 0; })},
        {"BothNoisy6dBAboveTheSound",
         with(a,
              [](auto& s) {
                  s.name = "a-noisy";
                  s.snrDb = -6;
              }),
         with(soundAngle("noise-6db", 8.87), [](auto& s) { s.snrDb = -6; })},
        {"Echo", a, with(soundAngle("echo", 10.4), [](auto& s) { s.filters = "aecho=0.8:0.9:60|180:0.5|0.3"; })},
        {"LowPass", a,
         with(soundAngle("lowpass", 11.63), [](auto& s) { s.filters = "lowpass=f=1200,lowpass=f=1200"; })},
        {"Pcm44kAgainst48k", a, with(soundAngle("pcm44k", 9.13), [](auto& s) { s.rate = 44100; })},
        {"AacInMp4At44k", a,
         with(soundAngle("aac44k", 12.05),
              [](auto& s) {
                  s.rate = 44100;
                  s.encoder = "aac";
                  s.container = "mp4";
              })},
        {"Ac3", a, with(soundAngle("ac3", 8.2), [](auto& s) { s.encoder = "ac3"; })},
        // Video with B-frames: in MPEG-TS and MPEG-PS the first picture is shown a
        // frame or two after the stream's first time; the sound starts with the
        // encoder's priming.
        {"AacBehindBFramesInMpegTs", a, camcorder("ts-aac", 8.52, "aac", "ts")},
        {"Ac3BehindBFramesInMts", a, camcorder("mts-ac3", 8.88, "ac3", "mts")},
        {"Ac3BehindMpeg2BFramesInDvdMpg", a,
         with(camcorder("dvd-ac3", 9.04, "ac3", "mpg"),
              [](auto& s) {
                  s.videoEncoder = "mpeg2video";
                  s.videoOptions = {"-bf", "2", "-g", "12"};
              })},
        {"PictureLateBehindAnEditListInMp4", a,
         with(camcorder("mp4-late", 9.36, "aac", "mp4"), [](auto& s) { s.pictureLateSeconds = 0.48; })},
        // A clock 104 ppm slow: it falls 31 ms behind over its 300 s.
        {"ClockDrift", a300,
         with(soundAngle("drift", 10.84),
              [](auto& s) {
                  s.seconds = 300;
                  s.clockRate = 48005;
              }),
         1, -0.031},
        {"ClockFast", a300, fast, 1, 0.031},
        // The angle hears something else altogether for a minute and a half.
        {"ClockFastThroughOtherSound", a300,
         with(fast,
              [](auto& s) {
                  s.name = "fast-sweep";
                  s.filters = "aeval=exprs='if(between(t,100,190),0.2*sin(2*PI*(300*t+40*t*t)),val(0))'";
              }),
         1, 0.031},
        // A band: offsets a beat apart agree on the drum, only the notes tell them apart.
        {"SteadyBeat", beatA, beat("beat-later21", 10.84, "pcm_s16le", "mkv"), 1, {}, 0.8},
        {"SteadyBeatAacAt44k",
         beatA,
         with(beat("beat-aac44k", 7.31, "aac", "mp4"), [](auto& s) { s.rate = 44100; }),
         1,
         {},
         0.8},
    };
}

class SoundMatchRows : public ::testing::TestWithParam<MatchRow> {};

TEST_P(SoundMatchRows, FindsTheOffsetToWithinAMillisecondAndIsSure) {
    const MatchRow& row = GetParam();
    VISTREL_SOUND_ANGLE_OR_SKIP(a, row.a);
    VISTREL_SOUND_ANGLE_OR_SKIP(angle, row.angle);
    const auto starts = sync::matchStartFrames({a.string(), angle.string()}).angles;
    ASSERT_EQ(starts.size(), 1u);
    const sync::AngleStart& found = starts[0];
    const double expected = expectedOffset(row.a, row.angle);
    const double errorMs = (found.match.offsetSeconds - expected) * 1000;
    const double ppm = clockPpm(row.a, row.angle);
    std::printf("%-28s error %7.3f ms  confidence %.3f  clock %+.2f ppm (of %+.2f)\n", row.name.c_str(), errorMs,
                found.match.confidence, found.match.driftPpm.value_or(NAN), ppm);
    EXPECT_LT(std::abs(errorMs), row.toleranceMs);
    EXPECT_EQ(found.startFrame, std::llround(expected * 25));
    EXPECT_GE(found.match.confidence, row.leastConfidence);
    ASSERT_EQ(found.driftSeconds.has_value(), row.driftSeconds.has_value());
    if (row.driftSeconds) {
        EXPECT_NEAR(*found.driftSeconds, *row.driftSeconds, 0.003);
    }
    if (ppm != 0) {
        ASSERT_TRUE(found.match.driftPpm);
    }
    EXPECT_NEAR(found.match.driftPpm.value_or(ppm), ppm, 5);
}

INSTANTIATE_TEST_SUITE_P(Cameras, SoundMatchRows, ::testing::ValuesIn(rows()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vistrel::test
