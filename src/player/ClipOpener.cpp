#include "player/ClipOpener.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "engine/Open.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMetaObject>

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

namespace vistrel::player {

// One open on its own thread. The opener and the thread share it; `mutex`
// guards everything below it, and a job posts to the opener only while it
// holds the mutex and the opener has not let it go, so the opener cannot be
// destroyed in between.
struct ClipOpener::Job {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool abandoned = false;
    bool delivered = false;
    int lastPercent = -1;
    OpenResult result;
    std::thread thread;  // joined by the opener, or once orphaned by OrphanedOpens

    bool finishedRunning() {
        std::lock_guard lock(mutex);
        return done;
    }
    bool isAbandoned() {
        std::lock_guard lock(mutex);
        return abandoned;
    }
};

namespace {

// Decodes the frame a newly opened clip shows first here, on the opener's
// thread, so that showing it costs the window nothing: a preview's first
// frame is each angle's start frame, a seek into every file. What the clip
// keeps of it (the frame cache, a file's last frame) serves the window; a
// frame that fails is left for the window to show as an error card.
void warmFirstFrame(const engine::ClipPtr& clip) {
    if (!clip || !clip->info().hasVideo() || clip->info().frameCount <= 0) return;
    try {
        clip->frame(0);
    } catch (const std::exception&) {}
}

// Thrown from the progress report of an open nobody waits for any more: it
// stops the index build (unless another open of the file waits for it).
struct OpenAbandoned : std::runtime_error {
    OpenAbandoned() : std::runtime_error("The open was given up.") {}
};

// Opens that nobody waits for any more, after their player was closed. An
// index build stops at its next progress report; what else is running ends
// soon, and they are joined when the application quits, or at the latest
// when the program ends, so that closing a player never waits for them.
class OrphanedOpens {
public:
    static OrphanedOpens& instance() {
        static OrphanedOpens orphans;
        return orphans;
    }

    void adopt(std::shared_ptr<ClipOpener::Job> job);
    void joinAll();

    ~OrphanedOpens() { joinAll(); }

private:
    std::mutex mutex_;
    std::vector<std::shared_ptr<ClipOpener::Job>> jobs_;
    bool quitHooked_ = false;
};

}  // namespace

namespace {

// The player's frame cache: the pictures shown, for steps back and seeks
// nearby; about a second of the four-angle preview (330 KB a frame), as only
// the script's result is kept (OpenOptions::cacheResultOnly). Only pictures
// up to the largest size are kept: full-size frames would crowd them out.
// Each file keeps its last full-size frame besides. (Playing reads ahead and
// needs neither: the decoders keep their own reference frames.) Four 1080p
// H.264 angles then hold under 400 MB while they play and seek, most of it
// the decoders' own pictures.
constexpr size_t kPlayerCacheBytes = size_t(8) << 20;
constexpr size_t kPlayerCacheLargestFrameBytes = size_t(1) << 20;
constexpr size_t kPlayerRecentFramesBytes = size_t(4) << 20;

}  // namespace

void limitHeapArenas() {
#ifdef __GLIBC__
    mallopt(M_ARENA_MAX, 1);
#endif
}

OpenFunction engineOpenFunction() {
    return [](const QString& path, const engine::IndexProgress& progress) {
        engine::OpenOptions options;
        options.cacheBudgetBytes = kPlayerCacheBytes;
        options.cacheLargestFrameBytes = kPlayerCacheLargestFrameBytes;
        options.recentFramesBytesPerSource = kPlayerRecentFramesBytes;
        options.indexProgress = progress;
        // The player shows the angle preview: its angles come from their
        // preview proxies once those are made (engine/proxy/PreviewProxyRule.h).
        options.preferPreviewProxies = true;
        options.cacheResultOnly = true;
        return engine::openClip(path.toStdString(), options);
    };
}

ClipOpener::ClipOpener(OpenFunction open, QObject* parent) : QObject(parent), open_(std::move(open)) {}

ClipOpener::~ClipOpener() {
    abandon();
    for (const auto& job : jobs_) {
        std::lock_guard lock(job->mutex);
        job->abandoned = true;
    }
    // They stop building their indexes at their next progress report; nobody waits for that here.
    for (auto& job : jobs_) OrphanedOpens::instance().adopt(std::move(job));
}

void ClipOpener::open(const QString& path, std::chrono::milliseconds wait) {
    abandon();
    joinFinishedJobs();

    auto job = std::make_shared<Job>();
    job->result.path = path;
    current_ = job;
    jobs_.push_back(job);

    auto progress = [this, job](int64_t done, int64_t total) {
        const int percent = total > 0 ? static_cast<int>(std::clamp<int64_t>(done * 100 / total, 0, 100)) : 0;
        std::lock_guard lock(job->mutex);
        if (job->abandoned) throw OpenAbandoned();
        if (percent == job->lastPercent) return;
        job->lastPercent = percent;
        QMetaObject::invokeMethod(
            this,
            [this, job, percent] {
                if (job == current_) emit indexProgressed(percent);
            },
            Qt::QueuedConnection);
    };
    job->thread = std::thread([this, job, path, progress, open = open_] {
        OpenResult result{path, nullptr, {}};
        try {
            result.clip = open(path, progress);
        } catch (const std::exception& error) {
            result.error = QString::fromStdString(error.what());
        }
        if (!job->isAbandoned()) warmFirstFrame(result.clip);
        if (!result.clip && result.error.isEmpty()) result.error = QStringLiteral("The file could not be opened.");
        std::lock_guard lock(job->mutex);
        if (job->abandoned) result.clip.reset();
        job->result = std::move(result);
        job->done = true;
        job->finished.notify_all();
        if (!job->abandoned)
            QMetaObject::invokeMethod(
                this, [this, job] { deliver(job); }, Qt::QueuedConnection);
    });

    {
        std::unique_lock lock(job->mutex);
        if (!job->finished.wait_for(lock, wait, [&] { return job->done; })) return;
    }
    deliver(job);
}

void ClipOpener::abandon() {
    const std::shared_ptr<Job> job = std::exchange(current_, nullptr);
    if (!job) return;
    std::lock_guard lock(job->mutex);
    job->abandoned = true;
    job->result.clip.reset();
}

void ClipOpener::deliver(const std::shared_ptr<Job>& job) {
    OpenResult result;
    {
        std::lock_guard lock(job->mutex);
        if (job != current_ || job->delivered || !job->done) return;
        job->delivered = true;
        result = std::move(job->result);
    }
    current_.reset();
    emit opened(result);
}

void OrphanedOpens::adopt(std::shared_ptr<ClipOpener::Job> job) {
    std::lock_guard lock(mutex_);
    std::erase_if(jobs_, [](const std::shared_ptr<ClipOpener::Job>& orphan) {
        if (!orphan->finishedRunning()) return false;
        orphan->thread.join();
        return true;
    });
    jobs_.push_back(std::move(job));
    if (!quitHooked_ && QCoreApplication::instance()) {
        quitHooked_ = true;
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, [] { instance().joinAll(); });
    }
}

void OrphanedOpens::joinAll() {
    std::vector<std::shared_ptr<ClipOpener::Job>> jobs;
    {
        std::lock_guard lock(mutex_);
        jobs.swap(jobs_);
    }
    for (const auto& job : jobs) job->thread.join();
}

void ClipOpener::finishAbandonedOpens() { OrphanedOpens::instance().joinAll(); }

void ClipOpener::joinFinishedJobs() {
    std::erase_if(jobs_, [](const std::shared_ptr<Job>& job) {
        if (!job->finishedRunning()) return false;
        job->thread.join();
        return true;
    });
}

QString resolvePlayerPath(const QString& path) {
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(QDir::fromNativeSeparators(path));
#else
    if (!path.contains(u'\\') || QFileInfo::exists(path)) return path;
    QString slashed = path;
    slashed.replace(u'\\', u'/');
    return QFileInfo::exists(slashed) ? slashed : path;
#endif
}

}  // namespace vistrel::player
