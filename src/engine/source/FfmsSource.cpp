#include "engine/source/FfmsSource.h"

#include "engine/core/ScriptError.h"
#include "engine/core/Utf8Path.h"
#include "engine/source/FfmsLibrary.h"
#include "engine/source/FirstPicture.h"
#include "engine/source/FrameRates.h"
#include "engine/source/LeadingFrames.h"
#include "engine/source/SourceIndex.h"
#include "engine/source/SourcePixels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <system_error>
#include <vector>

namespace vistrel::engine {

namespace fs = std::filesystem;

namespace {

// Stepping back one frame costs decoding from the keyframe before it (from
// the start, for a file decoded in order); the last frames decoded are kept
// for that.
constexpr size_t kRecentFramesSeeking = 16;
constexpr size_t kRecentFramesInOrder = 48;
// FFMS2 decodes on instead of seeking when the keyframe before the frame
// asked for lies at most this far past the frame it decoded last.
constexpr int64_t kFfmsDecodesOnWithin = 10;
constexpr int kMostPrerollSteps = 4;

// What can be said about the file before any library looks at it.
void checkIsReadableFile(const std::string& path) {
    std::error_code ec;
    const fs::path file = utf8Path(path);
    const fs::file_status status = fs::status(file, ec);
    if (!fs::exists(status)) throw MediaError("The file does not exist.");
    if (fs::is_directory(status)) throw MediaError("This is a folder, not a file.");
    if (fs::file_size(file, ec) == 0 && !ec) throw MediaError("The file is empty.");
}

// The video track asked for: -1 the first one (-1 for a file without video), else that track, which must be video.
int videoTrackOf(FFMS_Index* index, int asked) {
    FfmsError error;
    if (asked < 0) return FFMS_GetFirstIndexedTrackOfType(index, FFMS_TYPE_VIDEO, error.get());
    if (asked >= FFMS_GetNumTracks(index) || FFMS_GetTrackType(FFMS_GetTrackFromIndex(index, asked)) != FFMS_TYPE_VIDEO)
        throw MediaError("Track " + std::to_string(asked) + " is not a video track.");
    return asked;
}

FfmsVideoSourcePtr openVideo(const std::string& path, FFMS_Index* index, int track, const SourceOptions& options,
                             SeekMethod method) {
    FfmsError error;
    const int mode = method == SeekMethod::DecodeInOrder ? FFMS_SEEK_LINEAR : FFMS_SEEK_NORMAL;
    FfmsVideoSourcePtr video(
        FFMS_CreateVideoSource(path.c_str(), track, index, options.decoderThreads, mode, error.get()));
    if (!video) error.raise("Cannot decode the video");
    return video;
}

// Each frame's timestamp, in ticks of the stream's time base. (FFMS2's own
// time base for the track is adjusted to its rounded frame rate, so the
// stream's is taken from libavformat.)
struct FrameTimes {
    std::vector<int64_t> ticks;
    int64_t tickNum;  // seconds per tick: tickNum / tickDen
    int64_t tickDen;
};

// The index's track and the video source's have the same frames: FFMS2
// numbers the visible ones in both.
std::vector<int64_t> keyframesOf(FFMS_Track* track) {
    std::vector<int64_t> keyframes;
    const int frames = FFMS_GetNumFrames(track);
    for (int n = 0; n < frames; ++n)
        if (FFMS_GetFrameInfo(track, n)->KeyFrame) keyframes.push_back(n);
    return keyframes;
}

FrameTimes frameTimesOf(FFMS_Track* track, const StreamTraits& stream) {
    FrameTimes times{{}, stream.tickNum, stream.tickDen};
    const int frames = FFMS_GetNumFrames(track);
    times.ticks.reserve(static_cast<size_t>(frames));
    for (int n = 0; n < frames; ++n) times.ticks.push_back(FFMS_GetFrameInfo(track, n)->PTS);
    return times;
}

// The exact rate the frame times show; FFMS2's own figure is an average
// rounded to a microsecond per frame (15 fps comes out as 500000/33333).
Rational frameRateOf(const FrameTimes& times, Rational fallback) {
    TrackTimes span;
    span.firstTick = times.ticks.front();
    span.lastTick = times.ticks.back();
    span.frames = static_cast<int64_t>(times.ticks.size());
    span.tickNum = times.tickNum;
    span.tickDen = times.tickDen;
    if (auto exact = frameRateFromTimes(span)) return *exact;
    return fallback;
}

// Picks the pixel type from the first frame's format and has FFMS2 convert to it.
VideoInfo describeVideo(FFMS_VideoSource* video, const FrameTimes& times, std::optional<PixelType> requested) {
    FfmsError error;
    const FFMS_Frame* first = FFMS_GetFrame(video, 0, error.get());
    if (!first) error.raise("Cannot decode the first frame");
    const FFMS_VideoProperties& properties = *FFMS_GetVideoProperties(video);

    VideoInfo info;
    info.width = first->EncodedWidth;
    info.height = first->EncodedHeight;
    info.pixelType = sourcePixelType(first->EncodedPixelFormat, requested, info.width, info.height);
    if (auto problem = frameSizeProblem(info.width, info.height, info.pixelType)) throw MediaError(*problem);
    info.fps = frameRateOf(times, Rational::reduced(properties.FPSNumerator, properties.FPSDenominator));
    info.frameCount = properties.NumFrames;

    const int formats[] = {avPixelFormatOf(info.pixelType), -1};
    if (FFMS_SetOutputFormatV2(video, formats, info.width, info.height, FFMS_RESIZER_BICUBIC, error.get()) != 0)
        error.raise("Cannot convert the pictures to " + pixelTypeName(info.pixelType));
    return info;
}

// The same description for a source opened for its sound only, without a
// decoder: the size as the container states it, the pixel type asked for (or
// YV12), the rate from the frame times (a single frame is taken to last the
// stream's time base, as FFMS2 does).
VideoInfo describeUndecodedVideo(FFMS_Track* track, const FrameTimes& times, const StreamTraits& stream,
                                 std::optional<PixelType> requested) {
    VideoInfo info;
    info.width = std::max(stream.width, 1);
    info.height = std::max(stream.height, 1);
    info.pixelType = requested.value_or(PixelType::YV12);
    info.fps = frameRateOf(times, Rational::reduced(stream.tickDen, stream.tickNum));
    info.frameCount = FFMS_GetNumFrames(track);
    return info;
}

// A clip whose frame times drift half a frame or more from a constant rate
// is played at its most common rate instead (FrameRates.h); empty for a
// constant rate.
std::vector<int32_t> conformVariableRate(const FrameTimes& times, VideoInfo& info) {
    if (times.tickNum <= 0 || times.tickDen <= 0) return {};
    const double secondsPerTick = double(times.tickNum) / double(times.tickDen);
    if (!firstDriftingFrame(times.ticks, secondsPerTick, info.fps)) return {};
    ConformedTiming timing = conformToCommonRate(times.ticks, times.tickNum, times.tickDen);
    if (timing.sourceFrames.empty()) return {};
    info.fps = timing.fps;
    info.frameCount = static_cast<int64_t>(timing.sourceFrames.size());
    return std::move(timing.sourceFrames);
}

// AVI stores no presentation times; other containers' keyframes are found by theirs.
std::unique_ptr<LeadingFrames> leadingFramesOf(const std::string& path, int track, const StreamTraits& stream,
                                               SeekMethod method, const std::vector<int64_t>& keyframes,
                                               const FrameTimes& times) {
    if (stream.container == "avi") return std::make_unique<LeadingFrames>(path, track);
    std::map<int64_t, int64_t> keyframeTimes;
    for (int64_t keyframe : keyframes) keyframeTimes.emplace(keyframe, times.ticks[static_cast<size_t>(keyframe)]);
    // Counting dropped frames that are not there would shift every frame: unknown counts as none.
    const int whenUnknown = method == SeekMethod::SeekCountingDropped ? 0 : LeadingFrames::kAssumedWhenUnknown;
    return std::make_unique<LeadingFrames>(path, track, std::move(keyframeTimes), whenUnknown);
}

// 8- and 16-bit integer sound comes out as 16-bit integers, everything else as floats.
SampleType sampleTypeFor(int ffmsFormat) {
    return ffmsFormat == FFMS_FMT_U8 || ffmsFormat == FFMS_FMT_S16 ? SampleType::Int16 : SampleType::Float32;
}

// The sound track the options name: the first one, or the one asked for,
// which must be that one (the only sound track indexed). -1: no sound.
int soundTrackOf(FFMS_Index* index, int asked) {
    FfmsError error;
    const int first = FFMS_GetFirstIndexedTrackOfType(index, FFMS_TYPE_AUDIO, error.get());
    if (asked < 0 || asked == first) return first;
    if (asked >= FFMS_GetNumTracks(index) || FFMS_GetTrackType(FFMS_GetTrackFromIndex(index, asked)) != FFMS_TYPE_AUDIO)
        throw MediaError("Track " + std::to_string(asked) + " is not a sound track.");
    throw MediaError("Only the first sound track (track " + std::to_string(first) + ") is read, not track " +
                     std::to_string(asked) + ".");
}

// FFMS2 places the sound on the file's clock, its sample 0 at time 0 (an
// encoder's priming before the sound's start included); the clip's sound
// starts with its first picture, `lead` samples later, unless the options
// place it elsewhere, which FFMS2 does itself.
FfmsAudioSourcePtr openAudio(const std::string& path, FFMS_Index* index, const SourceOptions& options,
                             int firstVideoTrack, double firstPictureSeconds, VideoInfo& info, int64_t& lead) {
    FfmsError error;
    const int track = soundTrackOf(index, options.audioTrack);
    if (track < 0) return nullptr;
    const bool atFirstPicture = options.soundStart == FFMS_DELAY_FIRST_VIDEO_TRACK ||
                                (options.soundStart >= 0 && options.soundStart == firstVideoTrack);
    const int delayMode = atFirstPicture ? FFMS_DELAY_TIME_ZERO : options.soundStart;
    FfmsAudioSourcePtr audio(FFMS_CreateAudioSource2(path.c_str(), track, index, delayMode, options.fillGaps,
                                                     options.drcScale, error.get()));
    if (!audio) error.raise("Cannot decode the sound");
    const FFMS_AudioProperties& properties = *FFMS_GetAudioProperties(audio.get());
    lead = atFirstPicture ? std::llround(firstPictureSeconds * properties.SampleRate) : 0;
    if (properties.NumSamples - lead <= 0 || properties.Channels <= 0) return nullptr;

    const SampleType type = sampleTypeFor(properties.SampleFormat);
    const FFMS_SampleFormat wanted = type == SampleType::Int16 ? FFMS_FMT_S16 : FFMS_FMT_FLT;
    if (properties.SampleFormat != wanted) {
        FfmsResampleOptionsPtr resample(FFMS_CreateResampleOptions(audio.get()));
        resample->SampleFormat = wanted;
        if (FFMS_SetOutputFormatA(audio.get(), resample.get(), error.get()) != 0)
            error.raise("Cannot convert the sound");
    }
    info.audioRate = properties.SampleRate;
    info.channels = properties.Channels;
    info.sampleType = type;
    info.audioSamples = properties.NumSamples - lead;
    return audio;
}

}  // namespace

struct FfmsSource::Parts {
    std::string name;
    std::string function;
    SeekMethod seekMethod;
    FfmsVideoSourcePtr video = {};
    FfmsAudioSourcePtr audio = {};
    std::vector<int64_t> keyframes = {};
    std::unique_ptr<LeadingFrames> leadingFrames = {};
    std::vector<int32_t> sourceFrames = {};
    size_t recentFramesBytes = 0;
    int64_t audioLead = 0;
};

std::shared_ptr<FfmsSource> FfmsSource::open(const std::string& path, const SourceOptions& options) {
    const std::string& name = options.nameInMessages.empty() ? path : options.nameInMessages;
    try {
        checkIsReadableFile(path);
        FfmsIndexPtr index = SourceIndex(options.indexFolder, options.indexProgress).load(path);
        const int track = videoTrackOf(index.get(), options.videoTrack);
        if (track < 0 && !options.video) return openSoundFile(path, name, index.get(), options);
        if (track < 0) throw MediaError("The file has no video.");
        FFMS_Track* frames = FFMS_GetTrackFromIndex(index.get(), track);
        const StreamTraits stream = probeStream(path, track, options.video);
        Parts parts{.name = name,
                    .function = options.functionName,
                    .seekMethod = options.decodeInOrder ? SeekMethod::DecodeInOrder : seekMethodFor(stream),
                    .recentFramesBytes = options.recentFramesBytes};
        if (FFMS_GetNumFrames(frames) <= 0) throw MediaError("The video has no frames.");
        const FrameTimes times = frameTimesOf(frames, stream);
        VideoInfo info;
        if (options.video) {
            parts.video = openVideo(path, index.get(), track, options, parts.seekMethod);
            if (parts.seekMethod == SeekMethod::SeekWithPreroll ||
                parts.seekMethod == SeekMethod::SeekCountingDropped) {
                parts.keyframes = keyframesOf(frames);
                parts.leadingFrames = leadingFramesOf(path, track, stream, parts.seekMethod, parts.keyframes, times);
            }
            info = describeVideo(parts.video.get(), times, options.pixelType);
        } else {
            info = describeUndecodedVideo(frames, times, stream, options.pixelType);
        }
        parts.sourceFrames = conformVariableRate(times, info);
        if (options.audio) {
            const int64_t firstPicture = firstPictureTick(path, track, stream, times.ticks.front());
            const double seconds = double(firstPicture) * double(times.tickNum) / double(times.tickDen);
            parts.audio = openAudio(path, index.get(), options, track, seconds, info, parts.audioLead);
        }
        return std::shared_ptr<FfmsSource>(new FfmsSource(info, std::move(parts)));
    } catch (const MediaError& e) {
        throw ScriptError(options.functionName + ": couldn't open file '" + name + "'\n" + e.what());
    }
}

// A sound recording without pictures (WAV, FLAC, MP3, AAC): a clip without
// video whose sound starts at the file's time 0.
std::shared_ptr<FfmsSource> FfmsSource::openSoundFile(const std::string& path, const std::string& name,
                                                      FFMS_Index* index, const SourceOptions& options) {
    Parts parts{.name = name, .function = options.functionName, .seekMethod = SeekMethod::DecodeInOrder};
    VideoInfo info;
    parts.audio = openAudio(path, index, options, -1, 0.0, info, parts.audioLead);
    if (!parts.audio) throw MediaError("The file has neither video nor sound.");
    return std::shared_ptr<FfmsSource>(new FfmsSource(info, std::move(parts)));
}

FfmsSource::FfmsSource(const VideoInfo& info, Parts parts)
    : Clip(info),
      name_(std::move(parts.name)),
      function_(std::move(parts.function)),
      seekMethod_(parts.seekMethod),
      video_(std::move(parts.video)),
      keyframes_(std::move(parts.keyframes)),
      leadingFrames_(std::move(parts.leadingFrames)),
      sourceFrames_(std::move(parts.sourceFrames)),
      recent_(seekMethod_ == SeekMethod::DecodeInOrder ? kRecentFramesInOrder : kRecentFramesSeeking,
              parts.recentFramesBytes),
      audio_(std::move(parts.audio)),
      audioLead_(parts.audioLead) {}

FfmsSource::~FfmsSource() = default;

const FFMS_Frame* FfmsSource::decode(int64_t n) {
    if (seekMethod_ == SeekMethod::SeekCountingDropped) return fetchCountingDropped(n, 0);
    if (seekMethod_ == SeekMethod::SeekWithPreroll) prerollFor(n, 0);
    return fetch(n);
}

int64_t FfmsSource::keyframeBefore(int64_t n) const {
    const auto after = std::upper_bound(keyframes_.begin(), keyframes_.end(), n);
    return after == keyframes_.begin() ? 0 : *(after - 1);
}

bool FfmsSource::ffmsDecodesOnTo(int64_t n) const {
    if (n == lastDecoded_) return true;  // FFMS2 hands out the frame it holds
    return lastDecoded_ < n && lastDecoded_ + 1 + kFfmsDecodesOnWithin >= keyframeBefore(n);
}

// After a seek FFMS2 counts the frames the decoder dropped as handed out, so
// asked for m it hands out frame m + shift_ until it seeks again. Frame n is
// asked for as n - shift_ where FFMS2 decodes on to it; otherwise FFMS2 is
// made to seek to the keyframe before n and asked for n minus the frames
// dropped there. A frame among the first ones after that keyframe is reached
// by decoding on from the GOP before, as with a preroll; so is every frame of
// the last GOP, which FFMS2 cannot decode to its end after seeking there.
const FFMS_Frame* FfmsSource::fetchCountingDropped(int64_t n, int depth) {
    if (ffmsDecodesOnTo(n - shift_)) return fetch(n - shift_);
    const int64_t keyframe = keyframeBefore(n);
    const int dropped = leadingFrames_->after(keyframe);
    const bool lastGop = dropped > 0 && keyframe == keyframes_.back();
    if ((n - dropped >= keyframe && !lastGop) || depth >= kMostPrerollSteps) {
        if (ffmsDecodesOnTo(n - dropped)) {
            // FFMS2 would decode on with another count: start it over from
            // the first frame, where nothing is dropped.
            fetch(0);
            shift_ = 0;
            if (ffmsDecodesOnTo(n)) return fetch(n);
        }
        shift_ = dropped;
        return fetch(n - dropped);
    }
    fetchCountingDropped(keyframe - 1, depth + 1);
    return fetch(n - shift_);
}

const FFMS_Frame* FfmsSource::fetch(int64_t n) {
    FfmsError error;
    const FFMS_Frame* decoded = FFMS_GetFrame(video_.get(), static_cast<int>(n), error.get());
    if (!decoded)
        throw ScriptError(function_ + ": cannot decode frame " + std::to_string(n) + " of '" + name_ + "'\n" +
                          error.text());
    lastDecoded_ = n;
    return decoded;
}

// A frame that decoding from its keyframe cannot give is decoded on from
// the frame before the keyframe, which FFMS2 reaches from the keyframe
// before that one (and so on, in a file whose GOPs are shorter than their
// runs of B-frames, a few GOPs at most).
void FfmsSource::prerollFor(int64_t n, int depth) {
    const auto after = std::upper_bound(keyframes_.begin(), keyframes_.end(), n);
    if (after == keyframes_.begin()) return;
    const int64_t keyframe = *(after - 1);
    if (keyframe == 0) return;
    if (ffmsDecodesOnTo(n) || n - keyframe >= leadingFrames_->after(keyframe)) return;
    if (depth < kMostPrerollSteps) prerollFor(keyframe - 1, depth + 1);
    fetch(keyframe - 1);
}

int64_t FfmsSource::sourceFrame(int64_t n) const {
    return sourceFrames_.empty() ? n : sourceFrames_[static_cast<size_t>(n)];
}

void FfmsSource::refuseWithoutPictures() const {
    if (!video_)
        throw ScriptError(function_ + ": the pictures of '" + name_ +
                          "' are not decoded: it was opened for its sound only");
}

FramePtr FfmsSource::makeFrame(int64_t n) {
    refuseWithoutPictures();
    n = sourceFrame(n);
    std::lock_guard lock(videoMutex_);
    if (FramePtr recent = recent_.find(n)) return recent;
    FramePtr frame = ffmsFrameView(*decode(n), info_.pixelType).clone();
    recent_.insert(n, frame);
    return frame;
}

// A filter that reads the picture to make its own keeps what it makes in the
// shared cache, so the decoder's picture is lent, neither copied nor kept.
bool FfmsSource::lendFrame(int64_t n, const FrameUse& use) {
    refuseWithoutPictures();
    n = sourceFrame(n);
    std::lock_guard lock(videoMutex_);
    if (FramePtr recent = recent_.find(n)) {
        use(*recent);
        return true;
    }
    use(ffmsFrameView(*decode(n), info_.pixelType));
    return true;
}

void FfmsSource::readAudio(void* dst, int64_t start, int64_t count) {
    // The sound before the file's time 0, for a picture shown before it, is silence.
    start += audioLead_;
    if (start < 0) {
        const int64_t silent = std::min(count, -start);
        const auto bytes = static_cast<size_t>(silent * info_.bytesPerAudioFrame());
        std::memset(dst, 0, bytes);
        dst = static_cast<uint8_t*>(dst) + bytes;
        start += silent;
        count -= silent;
        if (count == 0) return;
    }
    std::lock_guard lock(audioMutex_);
    FfmsError error;
    if (FFMS_GetAudio(audio_.get(), dst, start, count, error.get()) != 0)
        throw ScriptError(function_ + ": cannot decode the sound of '" + name_ + "'\n" + error.text());
}

SourceOptions sourceOptionsIn(const Environment& env, const std::string& nameInScript) {
    SourceOptions options;
    options.nameInMessages = nameInScript;
    options.indexFolder = env.indexFolder;
    options.indexProgress = env.indexProgress;
    options.recentFramesBytes = env.recentFramesBytes;
    return options;
}

std::shared_ptr<FfmsSource> openSourceInScript(const std::string& nameInScript, const SourceOptions& options,
                                               const Environment& env) {
    return FfmsSource::open(utf8Text(resolvePathInScript(nameInScript, env)), options);
}

}  // namespace vistrel::engine
