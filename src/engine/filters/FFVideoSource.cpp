// FFVideoSource as the FFMS2 plugin names its arguments, through the same
// FFMS2 source as AVISource (the index kept in the engine's index folder),
// without sound (FFAudioSource reads that; AudioDub joins the two):
//   FFVideoSource(string source [, int track = -1, bool cache, string cachefile,
//                 int fpsnum = -1, int fpsden = 1, int threads = -1, string timecodes,
//                 int seekmode = 1, int rffmode = 0, int width = -1, int height = -1,
//                 string resizer = "BICUBIC", string colorspace = "", string varprefix])
//     track: -1 the first video track, else that track, which must be video;
//     fpsnum > 0: the clip at fpsnum / fpsden by time, frames repeated or left out as ChangeFPS does;
//     threads: decoding threads when positive, else the engine's own choice;
//     seekmode: -1 and 0 decode in order; 1 to 3 seek, in the way the codec and container need;
//     width, height: when either is positive, the picture resized to it (bilinear, whatever the resizer);
//     colorspace: "" the file's own family, or YV12, YUY2, RGB24, RGB32;
//     cache, cachefile, varprefix: accepted; the index is never kept beside the file and no variables are set.
//   A timecodes file and pulldown (rffmode) are refused with a message.
#include "engine/clips/BilinearResize.h"
#include "engine/clips/ChangeFPS.h"
#include "engine/core/ScriptError.h"
#include "engine/filters/FunctionTable.h"
#include "engine/script/Environment.h"
#include "engine/source/FfmsSource.h"

#include <QString>
#include <QStringList>

namespace vistrel::engine {

namespace {

constexpr size_t kSource = 0, kTrack = 1, kFpsNum = 4, kFpsDen = 5, kThreads = 6, kTimecodes = 7, kSeekMode = 8,
                 kRffMode = 9, kWidth = 10, kHeight = 11, kResizer = 12, kColorspace = 13;
constexpr int kMostThreads = 16;

std::optional<PixelType> requestedColorspace(const std::string& text) {
    const QString name = QString::fromStdString(text).toUpper();
    if (name.isEmpty()) return std::nullopt;
    if (name == "YV12" || name == "YUV420P8") return PixelType::YV12;
    for (PixelType type : {PixelType::YUY2, PixelType::RGB32, PixelType::RGB24})
        if (name == QString::fromStdString(pixelTypeName(type))) return type;
    throw ScriptError("FFVideoSource: colorspace must be \"YV12\", \"YUY2\", \"RGB24\" or \"RGB32\", not \"" + text +
                      "\"");
}

void checkResizer(const std::string& text) {
    static const QStringList kResizers = {"FAST_BILINEAR", "BILINEAR", "BICUBIC", "X",       "POINT", "AREA",
                                          "BICUBLIN",      "GAUSS",    "SINC",    "LANCZOS", "SPLINE"};
    if (!kResizers.contains(QString::fromStdString(text).toUpper()))
        throw ScriptError("FFVideoSource: Invalid resizer name specified: \"" + text + "\"");
}

}  // namespace

Value createFFVideoSource(const Args& args, Environment& env) {
    if (!args.defined(kSource) || args.stringOr(kSource, "").empty())
        throw ScriptError("FFVideoSource: No source specified");
    if (!args.stringOr(kTimecodes, "").empty())
        throw ScriptError("FFVideoSource: timecodes files are not written; leave timecodes out");
    if (args.intOr(kRffMode, 0) != 0) throw ScriptError("FFVideoSource: pulldown (rffmode) is not supported");
    const int seekMode = args.intOr(kSeekMode, 1);
    if (seekMode < -1 || seekMode > 3) throw ScriptError("FFVideoSource: Invalid seekmode specified");
    checkResizer(args.stringOr(kResizer, "BICUBIC"));

    const std::string path = args.stringOr(kSource, "");
    SourceOptions options = sourceOptionsIn(env, path);
    options.functionName = "FFVideoSource";
    options.audio = false;
    options.video = !env.soundOnly;
    options.videoTrack = args.intOr(kTrack, -1);
    options.decodeInOrder = seekMode <= 0;
    options.pixelType = requestedColorspace(args.stringOr(kColorspace, ""));
    if (const int threads = args.intOr(kThreads, -1); threads > 0)
        options.decoderThreads = std::min(threads, kMostThreads);
    ClipPtr clip = openSourceInScript(path, options, env);

    const int fpsNum = args.intOr(kFpsNum, -1), fpsDen = args.intOr(kFpsDen, 1);
    if (fpsNum > 0) {
        if (fpsDen <= 0) throw ScriptError("FFVideoSource: fpsden must be positive");
        clip = changeFps(std::move(clip), Rational::reduced(fpsNum, fpsDen), false);
    }
    const int width = args.intOr(kWidth, -1), height = args.intOr(kHeight, -1);
    if ((width > 0 || height > 0) && options.video) {
        const VideoInfo& info = clip->info();
        const int w = width > 0 ? width : info.width, h = height > 0 ? height : info.height;
        if (w != info.width || h != info.height) clip = std::make_shared<BilinearResize>(std::move(clip), w, h);
    }
    return clip;
}

}  // namespace vistrel::engine
