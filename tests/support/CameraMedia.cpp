#include "support/CameraMedia.h"

namespace vistrel::test::recipes {

namespace {

MediaRecipe made(std::string name, std::string container, std::string encoder, std::vector<std::string> options) {
    MediaRecipe r;
    r.name = std::move(name);
    r.container = std::move(container);
    r.videoEncoder = std::move(encoder);
    r.videoOptions = std::move(options);
    return r;
}

std::vector<std::string> x264(const std::string& params) {
    return {"-preset", "fast", "-crf", "16", "-x264-params", "scenecut=0:b-adapt=0:" + params};
}

MediaRecipe withSound(MediaRecipe r, std::string encoder, int channels, int rate = 48000) {
    r.audioEncoder = std::move(encoder);
    r.audioChannels = channels;
    r.audioRate = rate;
    return r;
}

}  // namespace

MediaRecipe phoneVariableRateMp4() {
    MediaRecipe r = withSound(made("phone-30-then-24", "mp4", "libx264", x264("keyint=30:bframes=2")), "aac", 2);
    // Ticks of 1/120 s: a frame of 30 fps lasts 4, one of 24 fps 5.
    r.fpsNum = 120;
    r.frames = 1080;
    r.frameTimes = "if(lt(N,600),N*4,2400+(N-600)*5)";
    r.seconds = 40;
    return r;
}

std::vector<MediaRecipe> cameraFiles() {
    MediaRecipe avchd = withSound(made("avchd", "m2ts", "libx264", x264("keyint=25:bframes=3:b-pyramid=strict")),
                                  "ac3", 2);
    MediaRecipe hdv = made("hdv-open-gop", "ts", "mpeg2video", {"-bf", "2", "-g", "15", "-q:v", "4"});
    hdv.fpsNum = 30000;
    hdv.fpsDen = 1001;
    MediaRecipe openGop = made("open-gop", "mp4", "libx264", x264("keyint=20:open-gop=1:bframes=3:b-pyramid=normal"));
    MediaRecipe openGopTs = made("open-gop-avchd", "m2ts", "libx264", x264("keyint=24:open-gop=1:bframes=2"));
    MediaRecipe dvd = made("dvd-open-gop", "mpg", "mpeg2video", {"-bf", "2", "-g", "12", "-q:v", "4"});
    // The video starts 0.48 s after the sound: MP4 says so with an edit list.
    MediaRecipe late = withSound(made("edit-list", "mp4", "libx264", x264("keyint=25:bframes=2")), "aac", 2);
    late.frameTimes = "N+12";
    MediaRecipe hevc = made("hevc", "mp4", "libx265", {"-preset", "fast", "-crf", "18", "-x265-params",
                                                       "log-level=error:keyint=25:bframes=3:scenecut=0"});
    MediaRecipe mov = withSound(made("camera-mov", "mov", "libx264", x264("keyint=12:bframes=2")), "pcm_s16le", 2);
    mov.fpsNum = 50;
    return {avchd, hdv, openGop, openGopTs, dvd, late, hevc, mov};
}

std::vector<MediaRecipe> cameraSound() {
    auto sound = [](std::string name, std::string container, std::string encoder, int channels, int rate = 48000) {
        MediaRecipe r = withSound(made(std::move(name), std::move(container), "mpeg4", {"-q:v", "8"}),
                                  std::move(encoder), channels, rate);
        r.frames = 50;
        return r;
    };
    return {sound("aac-mono", "mp4", "aac", 1),         sound("ac3-5-1", "m2ts", "ac3", 6),
            sound("eac3-5-1", "mp4", "eac3", 6),        sound("pcm16-stereo", "mov", "pcm_s16le", 2),
            sound("pcm24-stereo", "mov", "pcm_s24le", 2), sound("pcm32-quad", "mkv", "pcm_s32le", 4),
            sound("mp3-stereo", "mp4", "libmp3lame", 2, 44100), sound("opus-5-1", "mkv", "libopus", 6)};
}

}  // namespace vistrel::test::recipes
