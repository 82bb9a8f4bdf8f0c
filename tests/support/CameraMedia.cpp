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

}  // namespace vistrel::test::recipes
