#include "model/IntroScript.h"

#include "model/ScriptText.h"

namespace vistrel::model {

std::string introScriptText() {
    return ScriptText()
        .line("version().addborders(122,20,122,20).converttorgb32()")
        .line("subtitle(\"Vistrel is powered by:\", text_color=$ffffff)")
        .text();
}

std::optional<std::string> ShowIntro(PlayerControl& player, const ScriptLocations& locations) {
    auto failure = locations.write(locations.introPath, introScriptText());
    player.filename(locations.introPlayerPath);
    return failure;
}

}  // namespace vistrel::model
