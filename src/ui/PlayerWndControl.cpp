#include "ui/PlayerWndControl.h"

#include "player/PlayerWnd.h"

namespace vistrel::ui {

void PlayerWndControl::filename(const std::string& path) { player_.filename(QString::fromStdString(path)); }

void PlayerWndControl::play() { player_.play(); }

void PlayerWndControl::stop() { player_.stop(); }

std::string PlayerWndControl::sendcommand(const std::string& command) {
    return player_.sendcommand(QString::fromStdString(command)).toStdString();
}

}  // namespace vistrel::ui
