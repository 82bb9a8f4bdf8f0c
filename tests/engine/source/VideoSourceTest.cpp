// FFVideoSource's arguments as a portable script uses them, each read back
// from the clip it opens: its size, pixel type, rate, length and the index
// a frame shows; and the refusals. (tests/cli/ExportRenderTest runs it
// under whole edits.)
#include "SourceFixture.h"
#include "engine/Open.h"
#include "support/FrameIndexPattern.h"

namespace vistrel::test {
namespace {

class VideoSource : public SourceTest {
protected:
    // "160x120 YV12 25/1 200 #57": frame 57's index (from a 25 fps clip of 200 frames), or the error.
    std::string run(const std::string& script) {
        engine::OpenOptions options;
        options.indexFolder = indexFolder();
        try {
            const engine::ClipPtr clip = engine::openScriptText(script, "video.avs", options);
            const engine::VideoInfo& info = clip->info();
            return std::to_string(info.width) + "x" + std::to_string(info.height) + " " +
                   engine::pixelTypeName(info.pixelType) + " " + std::to_string(info.fps.num) + "/" +
                   std::to_string(info.fps.den) + " " + std::to_string(info.frameCount) + " #" +
                   std::to_string(readFrameIndex(*clip->frame(57)));
        } catch (const engine::ScriptError& e) {
            return e.what();
        }
    }
};

TEST_F(VideoSource, ArgumentsDoWhatThePluginsDo) {
    VISTREL_TEST_MEDIA_OR_SKIP(camera, recipes::ffv1Avi());
    const std::string call = "ffvideosource(\"" + camera.string() + "\"";
    const std::pair<std::string, std::string> cases[] = {
        {")", "320x240 YV12 25/1 200 #57"},
        {", track=-1, cache=false, cachefile=\"x.ffindex\", varprefix=\"a_\")", "320x240 YV12 25/1 200 #57"},
        {", seekmode=0)", "320x240 YV12 25/1 200 #57"},
        {", fpsnum=30)", "320x240 YV12 30/1 240 #47"},  // 57 * 25 / 30, by time as ChangeFPS
        {", fpsnum=50, fpsden=3)", "320x240 YV12 50/3 133 #85"},
        {", width=160, height=120, resizer=\"LANCZOS\")", "160x120 YV12 25/1 200 #57"},
        {", colorspace=\"RGB32\", threads=2)", "320x240 RGB32 25/1 200 #57"},
        {", track=1)", "FFVideoSource: couldn't open file '" + camera.string() + "'\nTrack 1 is not a video track."},
        {", seekmode=4)", "FFVideoSource: Invalid seekmode specified"},
        {", timecodes=\"t.txt\")", "FFVideoSource: timecodes files are not written"},
        {", rffmode=1)", "FFVideoSource: pulldown (rffmode) is not supported"},
        {", colorspace=\"YUV444P16\")", "FFVideoSource: colorspace must be"},
        {", resizer=\"SMOOTH\")", "FFVideoSource: Invalid resizer name specified"},
    };
    for (const auto& [tail, expected] : cases) EXPECT_EQ(run(call + tail).substr(0, expected.size()), expected) << tail;
    EXPECT_EQ(run("ffvideosource()").substr(0, 34), "FFVideoSource: No source specified");
}

}  // namespace
}  // namespace vistrel::test
