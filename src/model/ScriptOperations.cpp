#include "model/ScriptOperations.h"

#include "model/Messages.h"
#include "model/ScriptFile.h"
#include "model/Scripts.h"

namespace vistrel::model {

namespace {

constexpr int kMinimumPreviewClips = 2;

}  // namespace

std::optional<std::string> ShowIntro(PlayerControl& player, const ScriptLocations& locations) {
    auto failure = locations.write(locations.introPath, introScriptText());
    player.filename(locations.introPlayerPath);
    return failure;
}

void ShowPreview(const Edit& edit, PlayerControl& player, MessageSink& messages, const ScriptLocations& locations) {
    player.stop();
    player.filename(locations.introPlayerPath);
    if (edit.clips().count() < kMinimumPreviewClips) {
        messages.showMessage(messages::kTooFewClipsForPreview);
        return;
    }
    if (const auto failure = locations.write(locations.previewPath, previewScriptText(edit))) {
        messages.showMessage(messages::kPreviewNotWrittenPrefix + *failure);
        return;
    }
    player.filename(locations.previewPlayerPath);
    player.play();
}

std::optional<std::string> buildEditScript(const Edit& edit, FileDialog& saveDialog, MessageSink& messages) {
    if (edit.switchPoints().count() <= 1) {
        messages.showMessage(messages::kTooFewSwitchPoints);
        return std::nullopt;
    }
    const auto path = saveDialog.choose();
    if (!path || path->empty()) return std::nullopt;

    if (const auto failure = saveScriptFile(*path, editScriptText(edit))) {
        messages.showMessage(messages::kScriptNotSavedPrefix + *failure);
        return std::nullopt;
    }
    messages.showMessage(messages::kScriptSaved);
    return path;
}

}  // namespace vistrel::model
