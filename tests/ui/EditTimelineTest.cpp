// The edit's frames against the common time line, checked on the real
// engine: each edit is written as its script, every frame of the script is
// read back by the index its picture carries, and that index must be the
// angle and time-line frame the mapping names. Angle B starts 50 frames into
// its clip, so a picture of B can never pass for one of A.

#include "engine/Open.h"
#include "model/EditTimeline.h"
#include "model/ModelFakes.h"
#include "model/Scripts.h"
#include "support/FrameIndexPattern.h"
#include "support/TestMedia.h"
#include "ui/WindowTestKit.h"

namespace vistrel::ui::testing {
namespace {

constexpr int kClipFrames = 300;
constexpr std::int64_t kStartOfB = 50;

struct EditRow {
    const char* name;
    std::vector<std::pair<std::int64_t, char>> cuts;  // after the edit's own "00000000|A"
    const char* overlap;
    bool fadeIn;
};

void PrintTo(const EditRow& row, std::ostream* out) { *out << row.name; }

// The edit script lays the first clip's sound under the pictures: clips with sound.
std::optional<std::filesystem::path> clipWithSound(const char* name, std::string& reason) {
    test::MediaRecipe recipe = test::recipes::ffv1Avi();
    recipe.name = name;
    recipe.frames = kClipFrames;
    return test::testMedia(recipe, &reason);
}

class EditTimeline : public ::testing::TestWithParam<EditRow> {};

TEST_P(EditTimeline, EveryReadableFrameOfTheEditIsTheAngleAndFrameTheMappingNames) {
    std::string reason;
    const auto clipA = clipWithSound("timeline-a", reason);
    const auto clipB = clipWithSound("timeline-b", reason);
    if (!clipA || !clipB) GTEST_SKIP() << reason;

    model::Edit edit;
    edit.initialise();
    QueuedFileDialog open;
    RecordingMessages messages;
    open.answers = {clipA->string(), clipB->string()};
    edit.addClip(open, messages);
    edit.addClip(open, messages);
    edit.setStartFrame(1, std::to_string(kStartOfB));
    model::testing::RecordingPlayer player;
    for (const auto& [frame, angle] : GetParam().cuts) {
        player.positionReplies.push_back(std::to_string(frame));
        edit.addSwitchPoint(angle, player);
    }
    edit.overlap().setText(GetParam().overlap);
    if (GetParam().fadeIn) edit.fadeInToggled(model::CheckValue::Ticked);

    std::vector<std::int64_t> angleFrames;
    for (int row = 0; row < 2; ++row)
        angleFrames.push_back(engine::openScriptText(model::angleSourceText(edit, row), "angle")->info().frameCount);
    const auto timing = model::EditTiming::of(edit);
    const auto segments = model::editSegments(timing, angleFrames);
    const auto script = engine::openScriptText(model::editScriptText(edit), "edit");

    const std::int64_t frames = script->info().frameCount;
    EXPECT_EQ(frames, segments.back().editStart + segments.back().frameCount + (GetParam().fadeIn ? 1 : 0));
    int checked = 0;
    for (std::int64_t f = 0; f < frames; ++f) {
        const int shown = test::readFrameIndex(*script->frame(f));
        if (shown == test::kNoFrameIndex) continue;  // a crossfade or the fade-in's black
        const auto place = model::timelinePosition(timing, segments, f);
        const std::int64_t start = place.angleRow == 1 ? kStartOfB : 0;
        ASSERT_EQ(shown, place.frame + start) << "edit frame " << f << ", angle row " << place.angleRow;
        // A seek to that time-line frame in the edit preview lands where it shows.
        const std::int64_t back = model::editFrame(timing, segments, place.frame);
        EXPECT_EQ(model::timelinePosition(timing, segments, back).frame, place.frame) << "edit frame " << f;
        ++checked;
    }
    EXPECT_GT(checked, frames / 2) << "most frames lie outside the crossfades";
}

INSTANTIATE_TEST_SUITE_P(
    Edits, EditTimeline,
    ::testing::Values(EditRow{"regular_with_fade_in", {{100, 'B'}, {180, 'A'}}, "20", true},
                      EditRow{"cut_closer_to_the_start_than_the_overlap", {{5, 'B'}, {150, 'A'}}, "20", false},
                      EditRow{"segment_cut_short_by_its_clips_end", {{150, 'B'}, {230, 'A'}}, "10", false},
                      EditRow{"two_switch_points_at_frame_0", {{0, 'B'}, {120, 'A'}}, "10", true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vistrel::ui::testing
