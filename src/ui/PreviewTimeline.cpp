#include "ui/PreviewTimeline.h"

#include "engine/Open.h"
#include "model/NumericText.h"
#include "model/Scripts.h"
#include "model/SwitchPoint.h"
#include "player/PlayerWnd.h"

#include <QString>

#include <algorithm>

namespace vistrel::ui {

namespace {

constexpr int kPreviewColumns = model::kMaxAngles;

}  // namespace

// The player as the edit's operations see it, with positions on the time line.
class PreviewTimeline::TimelineControl final : public model::PlayerControl {
public:
    TimelineControl(PreviewTimeline& owner, model::PlayerControl& player) : owner_(owner), player_(player) {}

    void filename(const std::string& path) override { player_.filename(path); }
    void play() override { player_.play(); }
    void stop() override { player_.stop(); }

    std::string sendcommand(const std::string& command) override {
        if (owner_.showing() != Showing::Edit) return player_.sendcommand(command);
        if (command == model::kStatusPositionCommand)
            return model::decimalText(owner_.toTimeline(owner_.player_.position()));
        const std::string seekTo = model::kSeekToCommandPrefix;
        if (command.starts_with(seekTo)) {
            const auto frame = static_cast<std::int64_t>(model::numericValue(command.substr(seekTo.size())));
            return player_.sendcommand(seekTo + model::decimalText(owner_.toEdit(frame)));
        }
        return player_.sendcommand(command);
    }

private:
    PreviewTimeline& owner_;
    model::PlayerControl& player_;
};

PreviewTimeline::PreviewTimeline(player::PlayerWnd& player, model::PlayerControl& control, const model::Edit& edit,
                                 const model::ScriptLocations& locations, QObject* parent)
    : QObject(parent),
      player_(player),
      edit_(edit),
      locations_(locations),
      control_(std::make_unique<TimelineControl>(*this, control)) {
    connect(&player_, &player::PlayerWnd::positionchange, this, &PreviewTimeline::updateMarks);
    connect(&player_, &player::PlayerWnd::opened, this, [this](bool ok) {
        if (ok && showing() == Showing::Edit) measureAngles();
        updateMarks();
    });
}

PreviewTimeline::~PreviewTimeline() = default;

PreviewTimeline::Showing PreviewTimeline::showing() const {
    const std::string file = player_.fileName().toStdString();
    if (file.empty()) return Showing::Other;
    if (file == locations_.previewPlayerPath) return Showing::Angles;
    if (file == locations_.editPreviewPlayerPath) return Showing::Edit;
    return Showing::Other;
}

model::PlayerControl& PreviewTimeline::control() { return *control_; }

std::int64_t PreviewTimeline::editFrameHere() const {
    switch (showing()) {
    case Showing::Angles: return model::editFrame(model::EditTiming::of(edit_), {}, player_.position());
    case Showing::Edit: return player_.position();
    case Showing::Other: break;
    }
    return 0;
}

void PreviewTimeline::editPreviewStarted() {
    timing_ = model::EditTiming::of(edit_);
    angleSources_.clear();
    for (int row = 0; row < edit_.clips().count(); ++row) angleSources_.push_back(model::angleSourceText(edit_, row));
    segments_.clear();
    if (player_.isOpen() && !player_.isOpening()) measureAngles();
}

// The frame count of each angle decides where a segment cut short by its
// clip's end leaves the next one. The player has just opened the same
// clips, so their indexes are stored and each opens quickly.
void PreviewTimeline::measureAngles() {
    if (!segments_.empty() || timing_.switchPoints.empty()) return;
    std::vector<std::int64_t> frames;
    try {
        for (const std::string& source : angleSources_)
            frames.push_back(engine::openScriptText(source, "angle")->info().frameCount);
    } catch (const std::exception&) {
        return;  // the edit preview shows why; its frames then map as though no clip ended
    }
    segments_ = model::editSegments(timing_, frames);
}

std::int64_t PreviewTimeline::toTimeline(std::int64_t editFrame) const {
    return model::timelinePosition(timing_, segments_, editFrame).frame;
}

std::int64_t PreviewTimeline::toEdit(std::int64_t timelineFrame) const {
    return model::editFrame(timing_, segments_, timelineFrame);
}

void PreviewTimeline::updateMarks() {
    if (showing() != Showing::Angles || !player_.isOpen()) {
        player_.setColumnMarks({});
        return;
    }
    player::ColumnMarks marks;
    marks.columns = kPreviewColumns;
    const int clips = std::min(edit_.clips().count(), kPreviewColumns);
    for (int row = 0; row < clips; ++row) marks.labels.append(QString(QLatin1Char(model::angleLetter(row))));
    const auto& points = edit_.switchPoints().entries();
    const int live = model::liveSwitchPoint(points, player_.position());
    if (live >= 0) {
        const std::string_view letter = model::switchPointAngle(points[static_cast<std::size_t>(live)]);
        const int row = letter.empty() ? -1 : model::angleRow(letter.front());
        if (row >= 0 && row < clips) marks.framed = row;
    }
    player_.setColumnMarks(marks);
}

}  // namespace vistrel::ui
