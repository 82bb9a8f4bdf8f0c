#include "engine/core/FrameLane.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

namespace vistrel::engine {

namespace {

// How long a lane's thread waits for the next request before it ends: long
// enough to serve a player asking frame after frame without a new thread each.
constexpr auto kIdleSpell = std::chrono::milliseconds(50);

// The lanes' threads are detached, so that giving up never waits; the
// program waits for those still running when it ends, before the libraries
// their clips use are torn down.
class RunningLanes {
public:
    static RunningLanes& instance() {
        static RunningLanes lanes;
        return lanes;
    }
    void started() {
        std::lock_guard lock(mutex_);
        ++running_;
    }
    void ended() {
        std::lock_guard lock(mutex_);
        if (--running_ == 0) allEnded_.notify_all();
    }
    ~RunningLanes() {
        std::unique_lock lock(mutex_);
        allEnded_.wait(lock, [this] { return running_ == 0; });
    }

private:
    std::mutex mutex_;
    std::condition_variable allEnded_;
    int running_ = 0;
};

}  // namespace

struct FrameLane::State {
    struct Request {
        int64_t frame;
        uint64_t id;
        std::promise<FramePtr> promise;
    };

    explicit State(ClipPtr c) : clip(std::move(c)) {}

    std::mutex mutex;
    std::condition_variable wake;
    ClipPtr clip;
    std::deque<Request> queued;
    uint64_t lastId = 0;
    bool threadRunning = false;
    bool closed = false;  // the lane is gone: end as soon as the frame in hand is made

    static void drain(std::shared_ptr<State> state);
};

void FrameLane::State::drain(std::shared_ptr<State> state) {
    while (true) {
        std::unique_lock lock(state->mutex);
        state->wake.wait_for(lock, kIdleSpell, [&] { return !state->queued.empty() || state->closed; });
        if (state->queued.empty()) {
            state->threadRunning = false;
            break;
        }
        Request request = std::move(state->queued.front());
        state->queued.pop_front();
        ClipPtr clip = state->clip;
        lock.unlock();
        try {
            request.promise.set_value(clip->frame(request.frame));
        } catch (...) {
            request.promise.set_exception(std::current_exception());
        }
    }
    // The clip may go with the state: before the program may end.
    state.reset();
    RunningLanes::instance().ended();
}

FrameLane::FrameLane(ClipPtr clip) : state_(std::make_shared<State>(std::move(clip))) {
    RunningLanes::instance();  // made before any thread of a lane needs it, so gone after the last
}

FrameLane::~FrameLane() {
    std::deque<State::Request> dropped;
    {
        std::lock_guard lock(state_->mutex);
        state_->closed = true;
        dropped.swap(state_->queued);
        state_->clip.reset();  // the thread has its own reference while it makes a frame
    }
    state_->wake.notify_all();
}

FrameLane::Fetch FrameLane::ask(int64_t n) {
    Fetch fetch;
    bool startThread = false;
    {
        std::lock_guard lock(state_->mutex);
        State::Request request{n, ++state_->lastId, {}};
        fetch = {n, request.id, request.promise.get_future().share()};
        state_->queued.push_back(std::move(request));
        startThread = !std::exchange(state_->threadRunning, true);
    }
    if (startThread) {
        RunningLanes::instance().started();
        std::thread(State::drain, state_).detach();
    } else {
        state_->wake.notify_one();
    }
    return fetch;
}

void FrameLane::giveUp(const Fetch& fetch) {
    std::lock_guard lock(state_->mutex);
    std::erase_if(state_->queued, [&](const State::Request& request) { return request.id == fetch.id; });
}

}  // namespace vistrel::engine
