// AVISource(string filename [, ...], bool "audio", string "pixel_type"): a
// media file through the FFMS2 source, or a script of its own when the name
// ends in ".avs". In the player's preview a file with a complete preview
// proxy may stand in for itself (proxy/PreviewProxyRule.h).
#include "engine/core/ScriptError.h"
#include "engine/core/Utf8Path.h"
#include "engine/filters/FunctionTable.h"
#include "engine/source/FfmsSource.h"
#include "engine/source/SourcesAhead.h"

#include <QString>

namespace vistrel::engine {

namespace {

constexpr size_t kFiles = 0, kAudio = 1, kPixelType = 2;

// "" (or AviSynth's "AUTO" and "FULL"): the file's own family, YV12 or RGB32.
std::optional<PixelType> requestedPixelType(const std::string& text) {
    const QString name = QString::fromStdString(text).toUpper();
    if (name.isEmpty() || name == "AUTO" || name == "FULL") return std::nullopt;
    for (PixelType type : {PixelType::YV12, PixelType::YUY2, PixelType::RGB32, PixelType::RGB24})
        if (name == QString::fromStdString(pixelTypeName(type))) return type;
    throw ScriptError("AVISource: pixel_type must be \"YV12\", \"YUY2\", \"RGB32\" or \"RGB24\", not \"" + text + "\"");
}

}  // namespace

Value createAviSource(const Args& args, Environment& env) {
    const std::vector<Value>& files = args.repeated(kFiles);
    if (files.size() != 1) throw ScriptError("AVISource: only one file is supported");
    const std::string path = std::get<std::string>(files.front());
    if (isScriptPath(path)) {
        if (!env.runScriptFile) throw ScriptError("AVISource: scripts cannot be opened here: '" + path + "'");
        return env.runScriptFile(path, env);
    }

    SourceOptions options = sourceOptionsIn(env, path);
    options.audio = args.boolOr(kAudio, true);
    options.video = !env.soundOnly;
    options.pixelType = requestedPixelType(args.stringOr(kPixelType, ""));
    const std::string file = utf8Text(resolvePathInScript(path, env));

    const bool plain = !args.defined(kAudio) && !args.defined(kPixelType);
    if (plain && env.standIns.source)
        if (ClipPtr standIn = env.standIns.source(file, [file, options] { return FfmsSource::open(file, options); }))
            return standIn;
    if (plain && env.sourcesAhead)
        if (ClipPtr opened = env.sourcesAhead->take(path)) return opened;
    return ClipPtr(FfmsSource::open(file, options));
}

}  // namespace vistrel::engine
