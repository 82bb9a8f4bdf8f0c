#include "engine/source/IndexBuilds.h"

#include <chrono>

namespace vistrel::engine {

namespace {

// How often a waiting load hears from the build even when it has no news, so
// that a load given up meanwhile stops waiting soon.
constexpr auto kNewsAtLeastEvery = std::chrono::milliseconds(200);

}  // namespace

struct IndexBuilds::Build::Shared {
    int64_t done = 0;
    int64_t total = 0;
    int waiting = 0;  // loads waiting for this build
    bool ended = false;
};

IndexBuilds& IndexBuilds::instance() {
    static IndexBuilds builds;
    return builds;
}

IndexBuilds::Build::Build(IndexBuilds& builds, std::string key, std::shared_ptr<Shared> shared)
    : builds_(builds), key_(std::move(key)), shared_(std::move(shared)) {}

IndexBuilds::Build::~Build() {
    {
        std::lock_guard lock(builds_.mutex_);
        shared_->ended = true;
        builds_.running_.erase(key_);
    }
    builds_.changed_.notify_all();
}

bool IndexBuilds::Build::report(int64_t done, int64_t total) {
    bool wanted = false;
    {
        std::lock_guard lock(builds_.mutex_);
        shared_->done = done;
        shared_->total = total;
        wanted = shared_->waiting > 0;
    }
    builds_.changed_.notify_all();
    return wanted;
}

std::unique_ptr<IndexBuilds::Build> IndexBuilds::buildOrWait(const std::string& indexFile,
                                                             const IndexProgress& progress) {
    std::unique_lock lock(mutex_);
    auto [found, fresh] = running_.try_emplace(indexFile, nullptr);
    if (fresh) {
        found->second = std::make_shared<Build::Shared>();
        return std::unique_ptr<Build>(new Build(*this, indexFile, found->second));
    }
    const std::shared_ptr<Build::Shared> build = found->second;
    ++build->waiting;
    try {
        while (!build->ended) {
            const int64_t done = build->done, total = build->total;
            lock.unlock();
            if (progress) progress(done, total);
            lock.lock();
            changed_.wait_for(lock, kNewsAtLeastEvery,
                              [&] { return build->ended || build->done != done || build->total != total; });
        }
    } catch (...) {
        if (!lock.owns_lock()) lock.lock();
        --build->waiting;
        throw;
    }
    --build->waiting;
    return nullptr;
}

}  // namespace vistrel::engine
