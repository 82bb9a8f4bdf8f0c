#include "model/EditPreview.h"

#include "model/Scripts.h"
#include "model/Ports.h"
#include "model/NumericText.h"

namespace vistrel::model {
namespace {

bool writeEditCopy(const Edit& edit, MessageSink& messages, const ScriptLocations& locations, const std::string& path,
                   const char* failurePrefix) {
    if (edit.switchPoints().count() <= 1) {
        messages.showMessage(messages::kTooFewSwitchPoints);
        return false;
    }
    if (const auto failure = locations.write(path, editScriptText(edit))) {
        messages.showMessage(failurePrefix + *failure);
        return false;
    }
    return true;
}

}  // namespace

bool showEditPreview(const Edit& edit, PlayerControl& player, MessageSink& messages, const ScriptLocations& locations,
                     std::int64_t editFrame) {
    if (!writeEditCopy(edit, messages, locations, locations.editPreviewPath, messages::kEditPreviewNotWrittenPrefix))
        return false;
    player.stop();
    player.filename(locations.editPreviewPlayerPath);
    player.sendcommand(kSeekToCommandPrefix + decimalText(editFrame));
    player.play();
    return true;
}

bool writeRenderScript(const Edit& edit, MessageSink& messages, const ScriptLocations& locations) {
    return writeEditCopy(edit, messages, locations, locations.renderScriptPath,
                         messages::kRenderScriptNotWrittenPrefix);
}

}  // namespace vistrel::model
