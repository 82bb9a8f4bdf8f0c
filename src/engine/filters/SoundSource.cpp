// The sound of a file as a clip without video, read through the FFMS2
// source like AVISource's (the index kept in the same folder); the pictures
// of a file with video are ignored and never decoded. Two script functions:
//   WAVSource(string filename): a WAV file, or any file with sound.
//   FFAudioSource(string source [, int track = -1, bool cache, string cachefile,
//                 int adjustdelay = -1, int fill_gaps = -1, float drc_scale = 0,
//                 string varprefix]), as the FFMS2 plugin names them:
//     track: -1 the first sound track, else that one (only the first is indexed);
//     adjustdelay: where sample 0 lies (-1 at the first picture of the first
//       video track, or the file's time 0 without video; -2 the file's time 0;
//       -3 the first sample decoded; a track number: that video track's first frame);
//     fill_gaps, drc_scale: handed to FFMS2;
//     cache, cachefile, varprefix: accepted; the index is kept in the engine's
//       own index folder, never beside the file, and no variables are set.
#include "engine/core/ScriptError.h"
#include "engine/filters/FunctionTable.h"
#include "engine/source/FfmsSource.h"

namespace vistrel::engine {

namespace {

// A source opened for its sound only, without its description of the pictures.
class SoundOnly final : public Clip {
public:
    explicit SoundOnly(ClipPtr source) : Clip(source->info()), source_(std::move(source)) { info_.removeVideo(); }

protected:
    FramePtr makeFrame(int64_t) override { return nullptr; }  // never called: there are no frames
    void readAudio(void* dst, int64_t start, int64_t count) override { source_->audio(dst, start, count); }
    bool worthCaching() const override { return false; }

private:
    ClipPtr source_;
};

// The file's sound, as a clip without video.
ClipPtr soundOf(const std::string& path, SourceOptions options, const Environment& env) {
    options.video = false;
    ClipPtr source = openSourceInScript(path, options, env);
    if (!source->info().hasAudio()) throw ScriptError(options.functionName + ": No audio track found");
    if (!source->info().hasVideo()) return source;
    return std::make_shared<SoundOnly>(std::move(source));
}

constexpr size_t kSource = 0, kTrack = 1, kAdjustDelay = 4, kFillGaps = 5, kDrcScale = 6;

}  // namespace

Value createWavSource(const Args& args, Environment& env) {
    const std::vector<Value>& files = args.repeated(0);
    if (files.size() != 1) throw ScriptError("WAVSource: only one file is supported");
    const std::string& path = std::get<std::string>(files.front());
    SourceOptions options = sourceOptionsIn(env, path);
    options.functionName = "WAVSource";
    return soundOf(path, options, env);
}

Value createFFAudioSource(const Args& args, Environment& env) {
    if (!args.defined(kSource)) throw ScriptError("FFAudioSource: No source specified");
    const std::string path = args.stringOr(kSource, "");
    SourceOptions options = sourceOptionsIn(env, path);
    options.functionName = "FFAudioSource";
    options.audioTrack = args.intOr(kTrack, -1);
    if (options.audioTrack <= -2) throw ScriptError("FFAudioSource: No audio track selected");
    options.soundStart = args.intOr(kAdjustDelay, FFMS_DELAY_FIRST_VIDEO_TRACK);
    if (options.soundStart < FFMS_DELAY_NO_SHIFT)
        throw ScriptError("FFAudioSource: Invalid delay adjustment specified");
    options.fillGaps = args.intOr(kFillGaps, -1);
    options.drcScale = args.floatOr(kDrcScale, 0.0);
    return soundOf(path, options, env);
}

}  // namespace vistrel::engine
