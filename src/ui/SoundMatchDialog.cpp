#include "ui/SoundMatchDialog.h"

#include <exception>
#include <memory>

#include "model/Ports.h"
#include "ui/RenderProgressDialog.h"

namespace vistrel::ui {
namespace {

constexpr int kSteps = 1000;

// Thrown from the job's progress to stop it; no std::exception, so that
// nothing on its way turns it into a message.
struct Stopped {};

}  // namespace

SoundMatchDialog::SoundMatchDialog(QWidget& window, std::vector<std::string> clips, model::MessageSink& messages,
                                   Found found)
    : QProgressDialog(&window), clips_(std::move(clips)), messages_(&messages), found_(std::move(found)) {
    setUpBackgroundProgress(*this, tr("Match start frames by sound"));
    setRange(0, kSteps);
    setLabelText(tr("Reading the sound of %n clip(s) and matching it…", nullptr, static_cast<int>(clips_.size())));
    connect(this, &QProgressDialog::canceled, this, [this] {
        stopping_ = true;
        if (ended_) return;
        ended_ = true;
        close();
    });
    job_ = std::thread([this] { run(); });
    show();
}

SoundMatchDialog::~SoundMatchDialog() {
    stopping_ = true;
    if (job_.joinable()) job_.join();
}

void SoundMatchDialog::abandon() {
    messages_ = nullptr;
    stopping_ = true;
}

// On the job's thread: everything it tells the dialog goes through the
// dialog's event queue, and is dropped should the dialog be gone by then.
void SoundMatchDialog::run() {
    const auto report = [this](auto deliver) { QMetaObject::invokeMethod(this, deliver, Qt::QueuedConnection); };
    try {
        auto found = std::make_shared<sync::MatchedAngles>(sync::matchStartFrames(clips_, {}, [&](double share) {
            if (stopping_) throw Stopped();
            report([this, share] { setValue(static_cast<int>(share * kSteps)); });
        }));
        report([this, found] { end(found.get(), {}); });
    } catch (const Stopped&) {
    } catch (const std::exception& error) {
        report([this, message = QString::fromUtf8(error.what())] { end(nullptr, message); });
    }
}

void SoundMatchDialog::end(const sync::MatchedAngles* found, const QString& error) {
    if (ended_) return;
    ended_ = true;
    close();
    if (!messages_) return;
    if (found)
        found_(clips_, *found);
    else
        messages_->showMessage(model::messages::kSoundMatchFailedPrefix + error.toStdString());
}

}  // namespace vistrel::ui
