#pragma once
// A media file as a clip, through FFMS2: the first video track, frame-exact
// in any order, and the first audio track, sample-exact, its sample 0 at
// the first picture (FirstPicture.h). A video of variable frame rate is
// played at a constant one, by time (FrameRates.h); its sound is left as it
// is. A source opened for its sound only describes its
// video without decoding any of it.
//
// Frames are decoded under a lock of their own and sound under another, so a
// read-ahead thread may ask for either; different sources decode in parallel.

#include "engine/core/Clip.h"
#include "engine/script/Environment.h"
#include "engine/source/FfmsLibrary.h"
#include "engine/source/RecentFrames.h"
#include "engine/source/SeekMode.h"

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vistrel::engine {

struct SourceOptions {
    bool audio = true;  // false: the clip has no sound
    // false: the clip is opened for its sound only. Its frame rate, count
    // and size come from the index and the container; no picture decoder is
    // made and asking for a frame throws. A file without video (a sound
    // recording) then opens as a clip without video.
    bool video = true;
    std::optional<PixelType> pixelType;  // none: YV12 for YUV files, RGB32 for RGB files
    std::filesystem::path indexFolder;   // empty: indexes are not kept
    IndexProgress indexProgress;         // may be empty; may throw to stop indexing (open rethrows it)
    int decoderThreads = 1;
    // The last frames decoded, kept for stepping back: at most this many bytes.
    size_t recentFramesBytes = kDefaultRecentFramesBytes;
    std::string nameInMessages;              // the file as the user named it; empty: the path
    std::string functionName = "AVISource";  // the script function that opened it, in messages
    // The picture track: -1 the first video track, else the video track of that number.
    int videoTrack = -1;
    // Frames decoded in order from the start rather than sought (FFVideoSource's seekmode 0).
    bool decodeInOrder = false;

    // The sound (FFAudioSource's arguments). The track: -1 the first sound
    // track, else the track of that number, which must be the first sound
    // track (the only one indexed).
    int audioTrack = -1;
    // Where the sound's sample 0 lies, in FFMS2's delay modes: -1 at the
    // first picture of the first video track (FirstPicture.h; the file's
    // time 0 in a file without video); -2 at the file's time 0; -3 at the
    // first sample decoded; a track number: the first frame of that video track.
    int soundStart = FFMS_DELAY_FIRST_VIDEO_TRACK;
    int fillGaps = -1;      // FFMS2's: -1 where the container calls for it, 0 never, 1 always
    double drcScale = 0.0;  // FFMS2's dynamic range compression of AC-3 sound; 0: none
};

class LeadingFrames;

class FfmsSource final : public Clip {
public:
    ~FfmsSource() override;

    // Throws ScriptError: "AVISource: couldn't open file '<path>'" (named
    // after the options' function) and the reason on the next line.
    static std::shared_ptr<FfmsSource> open(const std::string& path, const SourceOptions& options);

    SeekMethod seekMethod() const { return seekMethod_; }
    // Whether the file's frame times were variable and its frames are shown at info().fps by time.
    bool conformed() const { return !sourceFrames_.empty(); }
    bool decodesPictures() const { return video_ != nullptr; }

protected:
    FramePtr makeFrame(int64_t n) override;
    bool lendFrame(int64_t n, const FrameUse& use) override;
    void readAudio(void* dst, int64_t start, int64_t count) override;
    // Source frames are large; the source keeps only its recent ones itself,
    // and the shared cache holds the smaller frames made from them.
    bool worthCaching() const override { return false; }

private:
    struct Parts;
    FfmsSource(const VideoInfo& info, Parts parts);
    static std::shared_ptr<FfmsSource> openSoundFile(const std::string& path, const std::string& name,
                                                     FFMS_Index* index, const SourceOptions& options);

    // All under videoMutex_. A frame stays valid until the next call.
    const FFMS_Frame* decode(int64_t n);
    const FFMS_Frame* fetch(int64_t n);  // straight from FFMS2
    void refuseWithoutPictures() const;
    void prerollFor(int64_t n, int depth);
    const FFMS_Frame* fetchCountingDropped(int64_t n, int depth);
    int64_t keyframeBefore(int64_t n) const;
    bool ffmsDecodesOnTo(int64_t n) const;  // rather than seeking, when asked for frame n now
    int64_t sourceFrame(int64_t n) const;   // the file's frame that frame n of the clip shows

    std::string name_;      // for messages
    std::string function_;  // the script function, for messages
    SeekMethod seekMethod_;

    std::mutex videoMutex_;
    FfmsVideoSourcePtr video_;
    std::vector<int64_t> keyframes_;                // with SeekWithPreroll and SeekCountingDropped only
    std::unique_ptr<LeadingFrames> leadingFrames_;  // with SeekWithPreroll and SeekCountingDropped only
    std::vector<int32_t> sourceFrames_;             // a conformed clip's frames; empty at a constant rate
    int64_t lastDecoded_ = 0;                       // FFMS2 decodes frame 0 when it opens
    int64_t shift_ = 0;                             // with SeekCountingDropped: frames FFMS2 is late
    RecentFrames recent_;

    std::mutex audioMutex_;
    FfmsAudioSourcePtr audio_;
    int64_t audioLead_ = 0;  // FFMS2's samples before the first picture's
};

// What a script's source function starts from: the file as the script
// names it (for messages) and the evaluation's index folder, index progress
// and recent-frame budget.
SourceOptions sourceOptionsIn(const Environment& env, const std::string& nameInScript);

// Opens the file a script names, a relative name starting from the script's
// folder.
std::shared_ptr<FfmsSource> openSourceInScript(const std::string& nameInScript, const SourceOptions& options,
                                               const Environment& env);

}  // namespace vistrel::engine
