#pragma once
// What the main player shows, seen on the edit's common time line. The angle
// preview plays that time line itself; the edit preview plays the edit, whose
// frames map onto it segment by segment (model/EditTimeline). This object
// gives the edit's operations a player that answers "status position" and
// takes "seek to" in time-line frames whichever of the two plays, so that an
// angle button records the frame whose picture is on the screen; and while
// the angle preview shows, it keeps the angle letters and the frame of the
// angle live at the current frame over the preview's columns.

#include "model/Edit.h"
#include "model/EditTimeline.h"
#include "model/Ports.h"
#include "model/ScriptLocations.h"

#include <QObject>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vistrel::player {
class PlayerWnd;
}

namespace vistrel::ui {

class PreviewTimeline : public QObject {
    Q_OBJECT
public:
    enum class Showing { Other, Angles, Edit };

    // player is what control drives; edit and locations outlive this object.
    PreviewTimeline(player::PlayerWnd& player, model::PlayerControl& control, const model::Edit& edit,
                    const model::ScriptLocations& locations, QObject* parent = nullptr);
    ~PreviewTimeline() override;

    Showing showing() const;
    // The player for the edit's operations, in time-line frames.
    model::PlayerControl& control();
    // Where the edit preview should start to show what the player shows now.
    std::int64_t editFrameHere() const;
    // The edit preview was just written from the edit as it stands: its
    // frames map through this edit until the next one.
    void editPreviewStarted();
    // Sets the column marks for the player's position and the switch list.
    void updateMarks();

private:
    class TimelineControl;

    std::int64_t toTimeline(std::int64_t editFrame) const;
    std::int64_t toEdit(std::int64_t timelineFrame) const;
    void measureAngles();

    player::PlayerWnd& player_;
    const model::Edit& edit_;
    const model::ScriptLocations& locations_;
    std::unique_ptr<TimelineControl> control_;

    // The edit the edit preview was written from.
    model::EditTiming timing_;
    std::vector<std::string> angleSources_;
    std::vector<model::EditSegment> segments_;  // empty until the preview opened and its angles were measured
};

}  // namespace vistrel::ui
