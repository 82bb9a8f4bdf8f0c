#include "model/EditTimeline.h"

#include "model/NumericText.h"
#include "model/Scripts.h"
#include "model/SwitchPoint.h"

#include <algorithm>
#include <limits>

namespace vistrel::model {
namespace {

constexpr std::int64_t kEndless = std::numeric_limits<std::int64_t>::max() / 4;

struct FrameRange {
    std::int64_t first;
    std::int64_t count;
};

// trim(first, last) of a clip of kClipFrames frames: first held inside the
// clip (0 winning over the end), last 0 meaning the clip's end and a
// negative last a length; always at least one frame.
FrameRange trimmed(std::int64_t kClipFrames, std::int64_t first, std::int64_t last) {
    first = std::max<std::int64_t>(std::min(first, kClipFrames - 1), 0);
    if (last == 0)
        last = kClipFrames - 1;
    else if (last < 0)
        last = first - last - 1;
    last = std::max(std::min(last, kClipFrames - 1), first);
    return {first, last - first + 1};
}

std::int64_t fadeInFrames(const EditTiming& timing) { return timing.fadeIn ? 1 : 0; }

}  // namespace

EditTiming EditTiming::of(const Edit& edit) {
    return {edit.switchPoints().entries(), static_cast<std::int64_t>(numericValue(edit.overlap().text())),
            !edit.fadeInLine().empty()};
}

std::vector<EditSegment> editSegments(const EditTiming& timing, const std::vector<std::int64_t>& angleFrames) {
    const auto& points = timing.switchPoints;
    std::vector<EditSegment> segments;
    std::int64_t start = 0;
    std::int64_t joinedFrames = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const std::string next = i + 1 < points.size() ? points[i + 1] : std::string();
        const std::int64_t end = static_cast<std::int64_t>(switchPointFrame(next));
        const std::string_view letter = switchPointAngle(points[i]);
        const int row = letter.empty() ? -1 : angleRow(letter.front());
        const bool counted = row >= 0 && static_cast<std::size_t>(row) < angleFrames.size();
        const FrameRange range = trimmed(counted ? angleFrames[static_cast<std::size_t>(row)] : kEndless, start, end);

        // dissolve lays each segment over the last `overlap` frames joined so far.
        const std::int64_t editStart = i == 0 ? 0 : std::max<std::int64_t>(joinedFrames - timing.overlap, 0);
        segments.push_back({row, range.first, range.count, editStart});
        joinedFrames = editStart + range.count;
        if (i + 1 < points.size()) start = segmentStart(static_cast<double>(end), static_cast<double>(timing.overlap));
    }
    return segments;
}

TimelinePosition timelinePosition(const EditTiming& timing, const std::vector<EditSegment>& segments,
                                  std::int64_t editFrame) {
    const std::int64_t joined = std::max<std::int64_t>(editFrame - fadeInFrames(timing), 0);
    // Each dissolve lays the next segment over what was joined before it.
    // Over the joined frames the segment coming in weighs (k + 1) / (overlap
    // + 1) at its k-th frame; the picture is the one that weighs more.
    for (std::size_t i = segments.size(); i-- > 0;) {
        const EditSegment& segment = segments[i];
        if (segment.editStart > joined) continue;
        if (i > 0) {
            const EditSegment& before = segments[i - 1];
            const std::int64_t joinedBefore = before.editStart + before.frameCount;
            const std::int64_t weight = joined - joinedBefore + 1 + timing.overlap;  // in (overlap + 1)ths
            if (joined < joinedBefore && 2 * weight < timing.overlap + 1) continue;
        }
        return {segment.angleRow, segment.firstFrame + std::min(joined - segment.editStart, segment.frameCount - 1)};
    }
    return {-1, joined};
}

std::int64_t editFrame(const EditTiming& timing, const std::vector<EditSegment>& segments, std::int64_t timelineFrame) {
    const int live = liveSwitchPoint(timing.switchPoints, timelineFrame);
    if (live < 0 || static_cast<std::size_t>(live) >= segments.size()) return timelineFrame + fadeInFrames(timing);
    const EditSegment& segment = segments[static_cast<std::size_t>(live)];
    const std::int64_t offset = std::clamp<std::int64_t>(timelineFrame - segment.firstFrame, 0, segment.frameCount - 1);
    return segment.editStart + offset + fadeInFrames(timing);
}

int liveSwitchPoint(const std::vector<std::string>& switchPoints, std::int64_t frame) {
    if (switchPoints.empty()) return -1;
    int live = 0;
    for (std::size_t i = 1; i < switchPoints.size(); ++i)
        if (switchPointFrame(switchPoints[i]) <= static_cast<double>(frame)) live = static_cast<int>(i);
    return live;
}

}  // namespace vistrel::model
