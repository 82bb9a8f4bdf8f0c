#include "ui/EngineRateProbe.h"

#include <QFileInfo>
#include <QProgressDialog>

#include <stdexcept>

#include "engine/Open.h"

namespace vistrel::ui {
namespace {

constexpr int kProgressSteps = 1000;
constexpr int kShowProgressAfterMs = 500;

struct IndexingCancelled : std::runtime_error {
    IndexingCancelled() : std::runtime_error("cancelled") {}
};

}  // namespace

std::optional<model::FrameRate> EngineRateProbe::rateOf(const std::string& path) {
    const QFileInfo file(QString::fromStdString(path));
    const QDateTime modified = file.lastModified();
    if (const auto found = known_.find(path); found != known_.end() && found->second.modified == modified)
        return found->second.rate;

    QProgressDialog progress(QObject::tr("Reading %1 …").arg(file.fileName()), QObject::tr("Cancel"), 0, kProgressSteps,
                             parent_);
    progress.setWindowTitle(QStringLiteral("Vistrel"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kShowProgressAfterMs);
    engine::OpenOptions options;
    options.indexProgress = [&progress](int64_t done, int64_t total) {
        if (total > 0) progress.setValue(static_cast<int>(done * kProgressSteps / total));
        if (progress.wasCanceled()) throw IndexingCancelled();
    };

    std::optional<model::FrameRate> rate;
    try {
        const engine::ClipPtr clip = engine::openClip(path, options);
        if (clip->info().hasVideo()) rate = model::FrameRate{clip->info().fps.num, clip->info().fps.den};
    } catch (const IndexingCancelled&) {
        return std::nullopt;  // asked again next time
    } catch (const std::exception&) {
        // A clip that cannot be opened: the player shows why when it is given the clip.
    }
    known_[path] = {modified, rate};
    return rate;
}

}  // namespace vistrel::ui
