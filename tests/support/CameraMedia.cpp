#include "support/CameraMedia.h"

#include <tuple>

namespace vistrel::test::recipes {

namespace {

MediaRecipe made(std::string name, std::string container, std::string encoder, std::vector<std::string> options,
                 std::string sound = "", int channels = 2, int rate = 48000) {
    MediaRecipe r;
    r.name = std::move(name);
    r.container = std::move(container);
    r.videoEncoder = std::move(encoder);
    r.videoOptions = std::move(options);
    if (!sound.empty()) r.audioEncoder = std::move(sound), r.audioChannels = channels, r.audioRate = rate;
    return r;
}

std::vector<std::string> x264(const std::string& params) {
    return {"-preset", "fast", "-crf", "16", "-x264-params", "scenecut=0:b-adapt=0:" + params};
}

}  // namespace

MediaRecipe phoneVariableRateMp4() {
    MediaRecipe r = made("phone-30-then-24", "mp4", "libx264", x264("keyint=30:bframes=2"), "aac");
    r.fpsNum = 120;  // ticks of 1/120 s: 4 a frame at 30 fps, 5 at 24
    r.frames = 1080, r.seconds = 40;
    r.frameTimes = "if(lt(N,600),N*4,2400+(N-600)*5)";
    return r;
}

std::vector<MediaRecipe> cameraFiles() {
    MediaRecipe hdv = made("hdv-open-gop", "ts", "mpeg2video", {"-bf", "2", "-g", "15", "-q:v", "4"});
    hdv.fpsNum = 30000, hdv.fpsDen = 1001;
    MediaRecipe late = made("edit-list", "mp4", "libx264", x264("keyint=25:bframes=2"), "aac");
    late.frameTimes = "N+12";  // the video starts 0.48 s after the sound
    return {hdv,
            made("open-gop", "mp4", "libx264", x264("keyint=20:open-gop=1:bframes=3:b-pyramid=normal")),
            made("open-gop-avchd", "m2ts", "libx264", x264("keyint=24:open-gop=1:bframes=2")),
            made("dvd-open-gop", "mpg", "mpeg2video", {"-bf", "2", "-g", "12", "-q:v", "4"}),
            late,
            made("hevc", "mp4", "libx265",
                 {"-preset", "fast", "-x265-params", "log-level=error:keyint=25:bframes=3:scenecut=0"})};
}

std::vector<MediaRecipe> cameraSound() {
    std::vector<MediaRecipe> all;
    for (auto [name, container, encoder, channels, rate] : {std::tuple{"aac_mono", "mp4", "aac", 1, 48000},
                                                            {"ac3_5_1", "m2ts", "ac3", 6, 48000},
                                                            {"eac3_5_1", "mp4", "eac3", 6, 48000},
                                                            {"pcm16_stereo", "mov", "pcm_s16le", 2, 48000},
                                                            {"pcm24_stereo", "mov", "pcm_s24le", 2, 48000},
                                                            {"pcm32_quad", "mkv", "pcm_s32le", 4, 48000},
                                                            {"mp3_stereo", "mp4", "libmp3lame", 2, 44100},
                                                            {"opus_5_1", "mkv", "libopus", 6, 48000}}) {
        all.push_back(made(name, container, "mpeg4", {"-q:v", "8"}, encoder, channels, rate));
        all.back().frames = 50;
    }
    return all;
}

}  // namespace vistrel::test::recipes
