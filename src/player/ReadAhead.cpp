#include "player/ReadAhead.h"

#include <algorithm>

namespace vistrel::player {

ReadAhead::ReadAhead(std::function<void()> onPictureReady, int depth)
    : onPictureReady_(std::move(onPictureReady)),
      depth_(std::max(depth, 1)),
      worker_([this](std::stop_token stop) { run(stop); }) {}

ReadAhead::~ReadAhead() {
    worker_.request_stop();
    wake_.notify_all();
}

void ReadAhead::start(engine::ClipPtr clip, int64_t from, QSize area) {
    {
        std::lock_guard lock(mutex_);
        if (clip == clip_ && area == area_ && from >= wantedFrom_ && from <= next_) {
            // Reading goes on where it is: what was read from `from` on is still wanted.
            while (!ready_.empty() && ready_.front().frame < from) ready_.pop_front();
            wantedFrom_ = from;
        } else {
            clip_ = std::move(clip);
            area_ = area;
            next_ = wantedFrom_ = from;
            ++generation_;
            ready_.clear();
        }
    }
    wake_.notify_all();
}

void ReadAhead::halt() {
    {
        std::lock_guard lock(mutex_);
        clip_.reset();
        ++generation_;
        ready_.clear();
    }
    pictureMade_.notify_all();
}

std::optional<Picture> ReadAhead::take(int64_t due) {
    std::optional<Picture> taken;
    {
        std::lock_guard lock(mutex_);
        while (ready_.size() >= 2 && ready_[1].frame <= due) ready_.pop_front();
        if (!ready_.empty() && ready_.front().frame <= due) {
            taken = std::move(ready_.front());
            ready_.pop_front();
            wantedFrom_ = std::max(wantedFrom_, taken->frame + 1);
        }
        next_ = std::max({next_, wantedFrom_, due});
    }
    wake_.notify_all();
    return taken;
}

std::optional<Picture> ReadAhead::waitFor(int64_t n) {
    std::unique_lock lock(mutex_);
    const uint64_t generation = generation_;
    const auto readingIt = [&] { return generation == generation_ && clip_ && n >= wantedFrom_; };
    pictureMade_.wait(lock, [&] {
        return !readingIt() ||
               std::any_of(ready_.begin(), ready_.end(), [&](const Picture& p) { return p.frame >= n; });
    });
    if (!readingIt() || ready_.empty()) return std::nullopt;
    while (!ready_.empty() && ready_.front().frame < n) ready_.pop_front();
    if (ready_.empty() || ready_.front().frame != n) return std::nullopt;
    std::optional<Picture> taken = std::move(ready_.front());
    ready_.pop_front();
    wantedFrom_ = n + 1;
    next_ = std::max(next_, wantedFrom_);
    lock.unlock();
    wake_.notify_all();
    return taken;
}

int ReadAhead::queued() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(ready_.size());
}

bool ReadAhead::hasWork() const {
    return clip_ && static_cast<int>(ready_.size()) < depth_ && next_ < clip_->info().frameCount;
}

void ReadAhead::run(std::stop_token stop) {
    while (true) {
        engine::ClipPtr clip;
        int64_t n = 0;
        uint64_t generation = 0;
        QSize area;
        {
            std::unique_lock lock(mutex_);
            if (!wake_.wait(lock, stop, [this] { return hasWork(); })) return;
            clip = clip_;
            n = next_++;
            generation = generation_;
            area = area_;
        }
        Picture picture = renderer_.render(*clip, n, area);
        {
            std::lock_guard lock(mutex_);
            if (generation != generation_ || n < wantedFrom_) continue;
            ready_.push_back(std::move(picture));
        }
        pictureMade_.notify_all();
        if (onPictureReady_) onPictureReady_();
    }
}

}  // namespace vistrel::player
