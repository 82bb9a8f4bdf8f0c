#include "ui/EditKeeper.h"

#include "model/Messages.h"
#include "ui/KeptEditWriter.h"

#include <stdexcept>

namespace vistrel::ui {

EditKeeper::EditKeeper(model::Edit& edit, std::string folder, model::QuestionBox& questions,
                       model::MessageSink& messages)
    : edit_(edit), kept_(std::move(folder)), questions_(questions), messages_(messages) {}

EditKeeper::~EditKeeper() = default;

bool EditKeeper::offerRestore() {
    if (const auto failure = kept_.claim()) {
        reportOnce(*failure);
        return false;
    }
    writer_ = std::make_unique<KeptEditWriter>(kept_, edit_, [this](const std::string& reason) { reportOnce(reason); });
    if (!kept_.holdsEdit()) return false;

    model::EditContent content;
    try {
        content = kept_.read();
    } catch (const std::runtime_error& failure) {
        const std::string aside = kept_.setAside();
        messages_.showMessage(model::messages::kKeptEditUnreadablePrefix + std::string(failure.what()) +
                              ". It was moved to " + aside + ".");
        return false;
    }
    if (questions_.ask(model::questions::kRestoreKeptEdit) != model::questions::restore) {
        kept_.remove();
        return false;
    }
    edit_.replace(content, "restore");
    restoredEditFile_ = kept_.editFile();
    return true;
}

void EditKeeper::keepEditFile(const std::string& path) {
    if (!writer_) return;
    if (const auto failure = kept_.writeEditFile(path)) reportOnce(*failure);
}

void EditKeeper::editChanged() {
    if (writer_) writer_->editChanged();
}

void EditKeeper::closedNormally() {
    writer_.reset();
    kept_.release();
}

void EditKeeper::reportOnce(const std::string& reason) {
    if (reported_) return;
    reported_ = true;
    messages_.showMessage(model::messages::kEditNotKeptPrefix + reason + ".");
}

}  // namespace vistrel::ui
