#pragma once

#include "model/Edit.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vistrel::model {

// Where each frame of the edit comes from on the common time line, the one
// the angle preview plays (frame n of every angle counted from its start
// frame, the numbers the switch points hold). The edit script cuts one
// segment per switch point and joins them with dissolve; this follows its
// trims and dissolves segment by segment, so that a frame of the edit can be
// recorded as the switch point that shows the same picture in the preview.
//
// While every switch point lies inside every clip and at least an overlap
// after frame 0, the two time lines are one, shifted by the fade-in's black
// frame. A segment cut short by its clip's end, or switch points closer to
// frame 0 than the overlap, make the dissolves pull every later segment
// earlier; only the fold shows by how much.

// What places the frames of an edit, taken when its script is written, so
// that the edit can change while its preview plays.
struct EditTiming {
    std::vector<std::string> switchPoints;  // the switch list, in list order
    std::int64_t overlap = 0;
    bool fadeIn = false;

    static EditTiming of(const Edit& edit);
};

struct EditSegment {
    int angleRow = 0;
    std::int64_t firstFrame = 0;  // on the time line
    std::int64_t frameCount = 0;
    std::int64_t editStart = 0;  // where its first frame lands in the joined segments
};

// The segments of the edit script, one per switch point, trimmed as the
// script language trims and placed as its dissolve places them.
// angleFrames[row] is the frame count of the angle at that row from its
// start frame; an angle without a count has no end.
std::vector<EditSegment> editSegments(const EditTiming& timing, const std::vector<std::int64_t>& angleFrames);

// The angle and time-line frame that frame editFrame of the edit shows: in
// a crossfade, the segment that weighs more there; the fade-in's black frame counts as
// the edit's first frame and anything past a segment's end (the fade-out's
// black frame) as its last. Without segments, the frame less the fade-in's
// (and angle -1).
struct TimelinePosition {
    int angleRow = -1;
    std::int64_t frame = 0;
};
TimelinePosition timelinePosition(const EditTiming& timing, const std::vector<EditSegment>& segments,
                                  std::int64_t editFrame);

// The frame of the edit that shows time-line frame timelineFrame of the
// segment live there (its nearest frame when that segment was cut short).
std::int64_t editFrame(const EditTiming& timing, const std::vector<EditSegment>& segments, std::int64_t timelineFrame);

// The row of the switch point live at a time-line frame: the last one at or
// before the frame, where switch point 0 covers everything before switch
// point 1 whatever frame it holds itself. -1 for an empty list.
int liveSwitchPoint(const std::vector<std::string>& switchPoints, std::int64_t frame);

}  // namespace vistrel::model
