#include "model/EditPreview.h"

#include "model/Messages.h"
#include "model/NumericText.h"
#include "model/Scripts.h"

#include <stdexcept>

namespace vistrel::model {

bool showEditPreview(const Edit& edit, PlayerControl& player, MessageSink& messages, const ScriptLocations& locations,
                     std::int64_t editFrame) {
    if (!enoughSwitchPoints(edit, messages)) return false;
    if (const auto failure = locations.write(locations.editPreviewPath, editScriptText(edit))) {
        messages.showMessage(messages::kEditPreviewNotWrittenPrefix + *failure);
        return false;
    }
    player.stop();
    player.filename(locations.editPreviewPlayerPath);
    player.sendcommand(kSeekToCommandPrefix + decimalText(editFrame));
    player.play();
    return true;
}

bool enoughSwitchPoints(const Edit& edit, MessageSink& messages) {
    if (edit.switchPoints().count() > 1) return true;
    messages.showMessage(messages::kTooFewSwitchPoints);
    return false;
}

std::unique_ptr<TemporaryScriptFile> writeRenderScript(const Edit& edit, MessageSink& messages,
                                                       const ScriptLocations& locations) {
    try {
        return locations.writeTemporary(locations.renderScriptTemplate, editScriptText(edit));
    } catch (const std::runtime_error& failure) {
        messages.showMessage(messages::kRenderScriptNotWrittenPrefix + std::string(failure.what()));
        return nullptr;
    }
}

}  // namespace vistrel::model
