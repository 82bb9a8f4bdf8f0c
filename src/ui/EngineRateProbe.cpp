#include "ui/EngineRateProbe.h"

#include "cli/EngineClipFacts.h"
#include "engine/Open.h"

#include <QFileInfo>
#include <QProgressDialog>

#include <stdexcept>

namespace vistrel::ui {
namespace {

constexpr int kProgressSteps = 1000;
constexpr int kShowProgressAfterMs = 500;

struct IndexingCancelled : std::runtime_error {
    IndexingCancelled() : std::runtime_error("cancelled") {}
};

}  // namespace

std::optional<model::FrameRate> EngineRateProbe::rateOf(const std::string& path) { return read(path).rate; }

std::optional<model::FrameSize> EngineRateProbe::sizeOf(const std::string& path) { return read(path).size; }

std::optional<model::ClipFacts> EngineRateProbe::factsOf(const std::string& path) { return read(path).facts; }

const EngineRateProbe::Known& EngineRateProbe::read(const std::string& path) {
    const QFileInfo file(QString::fromStdString(path));
    const QDateTime modified = file.lastModified();
    if (const auto found = known_.find(path); found != known_.end() && found->second.modified == modified)
        return found->second;

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

    Known known{modified, std::nullopt, std::nullopt, std::nullopt};
    try {
        const engine::ClipPtr clip = engine::openClip(path, options);
        if (clip->info().hasVideo()) {
            known.facts = cli::clipFacts(*clip);
            known.rate = known.facts->rate;
            known.size = known.facts->size;
        }
    } catch (const IndexingCancelled&) {
        static const Known unknown;
        return unknown;  // asked again next time
    } catch (const std::exception&) {
        // A clip that cannot be opened: the player shows why when it is given the clip.
    }
    return known_[path] = known;
}

}  // namespace vistrel::ui
