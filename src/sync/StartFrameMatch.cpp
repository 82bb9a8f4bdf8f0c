#include "sync/StartFrameMatch.h"

#include "engine/Open.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace vistrel::sync {

namespace {

// An index is built once and is quick next to reading the sound: opening
// counts for this share of an angle's part of the job.
constexpr double kOpeningShare = 0.2;
constexpr double kReadingShare = 0.95;  // of the whole job; matching is the rest

// The shares done by each angle, reported together and one call at a time.
class SharedProgress {
public:
    SharedProgress(size_t angles, const JobProgress& report) : done_(angles, 0.0), report_(report) {}

    void set(size_t angle, double share) {
        if (stopped_) throw Stopped();
        std::lock_guard lock(mutex_);
        done_[angle] = share;
        double total = 0;
        for (double d : done_) total += d;
        report(kReadingShare * total / double(done_.size()));
    }

    void report(double share) {
        if (!report_) return;
        try {
            report_(share);
        } catch (...) {
            stopped_ = true;
            throw;
        }
    }

    // Another thread's failure stops this one too.
    struct Stopped {};
    void stop() { stopped_ = true; }

private:
    std::mutex mutex_;
    std::vector<double> done_;
    const JobProgress& report_;
    std::atomic<bool> stopped_ = false;
};

AngleSound readClip(const std::string& path, size_t angle, SharedProgress& progress) {
    engine::OpenOptions open;
    open.soundOnly = true;
    open.indexProgress = [&](int64_t done, int64_t total) {
        progress.set(angle, kOpeningShare * (total > 0 ? double(done) / double(total) : 0.0));
    };
    const engine::ClipPtr clip = engine::openClip(path, open);
    try {
        return readAngleSound(*clip, [&](int64_t done, int64_t total) {
            progress.set(angle, kOpeningShare + (1 - kOpeningShare) * double(done) / double(total));
        });
    } catch (const NoSoundError&) {
        throw std::runtime_error("'" + path + "' has no sound to match.");
    }
}

// Reads every clip, as many at once as there are cores.
std::vector<AngleSound> readClips(const std::vector<std::string>& paths, SharedProgress& progress) {
    std::vector<AngleSound> sounds(paths.size());
    std::vector<std::exception_ptr> failures(paths.size());
    std::atomic<size_t> next = 0;
    const auto work = [&] {
        for (size_t i = next++; i < paths.size(); i = next++) {
            try {
                sounds[i] = readClip(paths[i], i, progress);
            } catch (const SharedProgress::Stopped&) {
                return;
            } catch (...) {
                failures[i] = std::current_exception();
                progress.stop();
                return;
            }
        }
    };
    const size_t threads = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, paths.size());
    std::vector<std::jthread> workers;
    for (size_t t = 1; t < threads; ++t) workers.emplace_back(work);
    work();
    workers.clear();  // joins
    for (const auto& failure : failures)
        if (failure) std::rethrow_exception(failure);  // the first clip's error, in the order given
    return sounds;
}

AngleStart startOf(const AngleSound& a, const AngleSound& angle, const MatchOptions& options) {
    AngleStart start;
    start.match = matchSound(a, angle, options);
    start.fps = angle.fps;
    start.startFrame = static_cast<int64_t>(std::llround(start.match.offsetSeconds * angle.fps.toDouble()));
    const double halfFrame = start.hasPicture() ? 0.5 / angle.fps.toDouble() : 0.0;
    if (start.match.driftSeconds && std::abs(*start.match.driftSeconds) > halfFrame)
        start.driftSeconds = start.match.driftSeconds;
    return start;
}

}  // namespace

MatchedAngles matchStartFrames(const std::vector<std::string>& paths, const MatchOptions& options,
                               const JobProgress& progress, JobTimes* times) {
    if (paths.size() < 2) throw std::invalid_argument("matchStartFrames needs a reference and at least one angle");
    using Clock = std::chrono::steady_clock;
    const auto started = Clock::now();
    SharedProgress shared(paths.size(), progress);
    const std::vector<AngleSound> sounds = readClips(paths, shared);
    const auto read = Clock::now();

    std::vector<AngleStart> starts(paths.size() - 1);
    std::vector<std::exception_ptr> failures(starts.size());
    std::vector<std::jthread> workers;
    for (size_t i = 0; i < starts.size(); ++i)
        workers.emplace_back([&, i] {
            try {
                starts[i] = startOf(sounds[0], sounds[i + 1], options);
            } catch (...) {
                failures[i] = std::current_exception();
            }
        });
    workers.clear();  // joins
    for (const auto& failure : failures)
        if (failure) std::rethrow_exception(failure);
    if (times) {
        times->reading = std::chrono::duration<double>(read - started).count();
        times->matching = std::chrono::duration<double>(Clock::now() - read).count();
    }
    shared.report(1.0);
    return {sounds[0].fps, std::move(starts), std::nullopt};
}

MatchedAngles matchToRecording(const std::string& recording, const std::vector<std::string>& clips,
                               const MatchOptions& options, const JobProgress& progress, JobTimes* times) {
    std::vector<std::string> paths{recording};
    paths.insert(paths.end(), clips.begin(), clips.end());
    MatchedAngles found = matchStartFrames(paths, options, progress, times);
    found.fpsA = {};

    // Where each angle's sound begins to be shared with the recording's, in
    // the recording's time (where its offset holds).
    const auto overlapStart = [](const AngleStart& angle) { return std::max(0.0, -angle.match.offsetSeconds); };
    double start = 0;
    for (const AngleStart& angle : found.angles)
        if (angle.sure()) start = std::max(start, overlapStart(angle));
    found.recording = SoundRecording{recording, std::llround(start * 1000)};

    const double startSeconds = double(found.recording->startMs) / 1000;
    for (AngleStart& angle : found.angles) {
        const double ppm = angle.match.driftPpm.value_or(0);
        const double time =
            startSeconds + angle.match.offsetSeconds + ppm * 1e-6 * (startSeconds - overlapStart(angle));
        angle.startFrame = std::llround(time * angle.fps.toDouble());
        // The recording's start rounded to a millisecond puts the latest sure
        // angle within a fraction of a frame of its first.
        if (angle.sure()) angle.startFrame = std::max<int64_t>(angle.startFrame, 0);
    }
    return found;
}

}  // namespace vistrel::sync
