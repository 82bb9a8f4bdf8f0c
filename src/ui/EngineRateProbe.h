#pragma once
// Reads a clip's frame rate and size for the edit through the script engine, as the
// player will open it: a media file through its source (a variable rate as
// the rate it is played at), a script by running it. A file seen for the
// first time is indexed on the way, with a progress box over the window
// when that takes a while; the index is kept for the player.

#include "model/ClipRate.h"

#include <QDateTime>
#include <QPointer>
#include <QWidget>

#include <map>
#include <string>

namespace vistrel::ui {

class EngineRateProbe final : public model::ClipRateProbe {
public:
    explicit EngineRateProbe(QWidget* parent) : parent_(parent) {}

    std::optional<model::FrameRate> rateOf(const std::string& path) override;
    std::optional<model::FrameSize> sizeOf(const std::string& path) override;
    std::optional<model::ClipFacts> factsOf(const std::string& path) override;

private:
    struct Known {
        QDateTime modified;
        std::optional<model::FrameRate> rate;
        std::optional<model::FrameSize> size;
        std::optional<model::ClipFacts> facts;
    };
    // What the engine says of the clip, read once until the file changes.
    const Known& read(const std::string& path);

    QPointer<QWidget> parent_;
    std::map<std::string, Known> known_;  // a file is read again once it changes
};

}  // namespace vistrel::ui
