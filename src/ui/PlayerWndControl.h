#pragma once
// The edit's view of a clip player widget: paths and command texts cross
// over as UTF-8.

#include "model/PlayerControl.h"

namespace vistrel::player {
class PlayerWnd;
}

namespace vistrel::ui {

class PlayerWndControl final : public model::PlayerControl {
public:
    explicit PlayerWndControl(player::PlayerWnd& player) : player_(player) {}

    void filename(const std::string& path) override;
    void play() override;
    void stop() override;
    std::string sendcommand(const std::string& command) override;

private:
    player::PlayerWnd& player_;
};

}  // namespace vistrel::ui
