#pragma once
// The cut as segments of the original camera files, for handing it on to
// another editor: what the edit script shows, segment by segment (as
// EditTimeline places them), with each segment's pictures named by the
// camera file they come from and that file's own frames. A clip the edit
// reads through a conform script (MixedRates, MixedSizes, DriftingClocks)
// is followed back to its file, its frames mapped back through the
// script's rate changes, so that a segment shows the same pictures as the
// edit does.

#include "model/ClipRate.h"
#include "model/Edit.h"
#include "model/MixedRates.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace vistrel::model {

struct CutAngle {
    char letter = 'A';
    std::string clip;  // as the edit names it: the file, or a conform script
    std::string file;  // the original camera file
    ClipFacts facts;   // of the file: its own rate, size and frame count
    // What the conform scripts did to it ("30 fps", "fitted into 640x360");
    // empty for a file the edit reads as it is.
    std::vector<std::string> conformed;
    // How the clip the edit reads (its facts: the edit's rate) shows the
    // file: the scripts' rate changes (ConformedClip), from its start frame
    // (the common time line's frame 0) on.
    ClipFacts clipFacts;
    std::vector<ConformedClip::Timing> timings;
    std::int64_t startFrame = 0;

    // "Angle C (c30.mp4)", as messages name it.
    std::string name() const;
    // Whether a script plays the file at another rate than its own (a clock kept in step).
    bool retimed() const;
    // The file's frame that the clip shows at frame `frame` of the common time line.
    std::int64_t fileFrame(std::int64_t timelineFrame) const;
    // The moment of the file, in seconds, at the start of that frame of the
    // common time line (a fraction of the file's frame where rates differ).
    double fileSeconds(std::int64_t timelineFrame) const;
};

struct CutSegment {
    int angleRow = 0;
    // The pictures, in the angle's file's own frames and rate: the first
    // one shown and how many of the file's frames last as long as the
    // segment (the edit's frames, at the file's rate).
    std::int64_t sourceFirst = 0;
    std::int64_t sourceFrames = 0;
    // Where it lies in the edit, in the edit's frames (the fade-in's black
    // frame counted): its first frame and how many, the crossfades included.
    std::int64_t recordFirst = 0;
    std::int64_t recordFrames = 0;
    // The frames it shares with the segment before (its crossfade in) and
    // with the one after (the next one's dissolveIn).
    std::int64_t dissolveIn = 0;
    std::int64_t dissolveOut = 0;
    // On the common time line (the switch points' numbers), as EditTimeline has it.
    std::int64_t timelineFirst = 0;
};

struct CutSound {
    bool recording = false;  // a separate recording; else angle A's sound
    std::string file;        // angle A's original file, or the recording
    // The moment of the file that lies under the edit's first picture
    // after the fade-in's black frame, in seconds; negative when the file
    // starts later than that.
    double startSeconds = 0;
    bool present = false;  // the file has sound
};

struct CutList {
    EditContent edit;   // what it was computed from
    std::string title;  // the edit's name, as the formats that name a timeline show it
    FrameRate rate;     // the edit's: angle A's as the edit reads it
    FrameSize size;     // the edit's picture size: angle A's
    std::vector<CutAngle> angles;
    std::vector<CutSegment> segments;
    std::int64_t fadeInFrames = 0;   // from black, after the black first frame
    std::int64_t fadeOutFrames = 0;  // to black, before the black last frame
    std::int64_t frameCount = 0;     // the edit's, the black frames of the fades included
    std::int64_t firstPicture = 0;   // the fade-in's black frame: 1, without a fade-in 0
    CutSound sound;

    const CutAngle& angleOf(const CutSegment& segment) const {
        return angles.at(static_cast<std::size_t>(segment.angleRow));
    }
    // The frame of the segment's file shown at frame recordFrame of the edit
    // (counted on past the segment's ends as its file goes on).
    std::int64_t sourceFrame(const CutSegment& segment, std::int64_t recordFrame) const {
        return angleOf(segment).fileFrame(segment.timelineFirst + recordFrame - segment.recordFirst);
    }
};

// A clip of the edit that cannot be read, or an edit that cannot be cut
// (fewer than two switch points, a switch point naming no clip).
struct CutError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The cut of an edit. The probe reads each clip and each original file.
// Throws CutError with a message for the user.
CutList cutList(const EditContent& edit, const std::string& title, ClipRateProbe& probe);

// The name of a file without its folder, as the exports name clips.
std::string fileNameOf(const std::string& path);

// The frame of the original file that frame n of a conformed clip shows
// (n itself for a clip read as it is): through each script's rate change
// from the outermost in, as ChangeFPS picks a frame by time.
std::int64_t originalFrame(const std::vector<ConformedClip::Timing>& timings, FrameRate fileRate, std::int64_t n);

}  // namespace vistrel::model
