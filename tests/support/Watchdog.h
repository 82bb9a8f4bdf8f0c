#pragma once
// Ends the test program with a message when a step takes longer than it may:
// a hang then fails at once, naming the step, instead of waiting for the test
// runner's own timeout.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace vistrel::test {

class Watchdog {
public:
    Watchdog(std::string step, std::chrono::seconds limit)
        : step_(std::move(step)), thread_([this, limit] { watch(limit); }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    void watch(std::chrono::seconds limit) {
        std::unique_lock lock(mutex_);
        if (wake_.wait_for(lock, limit, [this] { return done_; })) return;
        std::fprintf(stderr, "HANG: %s took longer than %lld s\n", step_.c_str(),
                     static_cast<long long>(limit.count()));
        std::fflush(stderr);
        std::_Exit(3);
    }

    std::string step_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::thread thread_;  // last: it starts watching once the rest exists
};

}  // namespace vistrel::test
