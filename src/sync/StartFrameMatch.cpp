#include "sync/StartFrameMatch.h"

#include "engine/Open.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <exception>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <utility>

namespace vistrel::sync {

namespace {

// An index is built once and is quick next to reading the sound: opening
// counts for this share of an angle's part of the job.
constexpr double kOpeningShare = 0.2;
constexpr double kReadingShare = 0.95;  // of the whole job; matching is the rest
// Each clip's sound is read in as many parts as there are threads, each part
// by whichever thread is free (from a clip of its own), so that the threads
// finish together however many clips there are; a part is at least this long.
constexpr double kShortestPartSeconds = 10;

// The shares done of the job's steps, each weighing its own, reported
// together and one call at a time.
class SharedProgress {
public:
    SharedProgress(std::vector<double> weights, const JobProgress& report)
        : weights_(std::move(weights)), done_(weights_.size(), 0.0), report_(report) {}

    void set(size_t step, double share) {
        if (stopped_) throw Stopped();
        std::lock_guard lock(mutex_);
        done_[step] = share;
        double total = 0, weight = 0;
        for (size_t i = 0; i < done_.size(); ++i) {
            total += weights_[i] * done_[i];
            weight += weights_[i];
        }
        report(kReadingShare * total / weight);
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
    const std::vector<double> weights_;
    std::vector<double> done_;
    const JobProgress& report_;
    std::atomic<bool> stopped_ = false;
};

// Runs task(0) to task(count - 1), as many at once as there are threads;
// rethrows the failure of the first task that failed, in their order.
void runTasks(size_t count, size_t threads, SharedProgress& progress, const std::function<void(size_t)>& task) {
    std::vector<std::exception_ptr> failures(count);
    std::atomic<size_t> next = 0;
    const auto work = [&] {
        for (size_t i = next++; i < count; i = next++) {
            try {
                task(i);
            } catch (const SharedProgress::Stopped&) {
                return;
            } catch (...) {
                failures[i] = std::current_exception();
                progress.stop();
                return;
            }
        }
    };
    std::vector<std::jthread> workers;
    for (size_t t = 1; t < std::min(threads, count); ++t) workers.emplace_back(work);
    work();
    workers.clear();  // joins
    for (const auto& failure : failures)
        if (failure) std::rethrow_exception(failure);
}

engine::ClipPtr openForSound(const std::string& path, const engine::IndexProgress& indexProgress = {}) {
    engine::OpenOptions open;
    open.soundOnly = true;
    open.indexProgress = indexProgress;
    return engine::openClip(path, open);
}

// Reads every clip's sound, as many parts at once as there are cores: the
// clips are opened (their indexes built), then their parts read, then each
// clip's sound described.
std::vector<AngleSound> readClips(const std::vector<std::string>& paths, const JobProgress& report) {
    const size_t threads = std::max<size_t>(std::thread::hardware_concurrency(), 1);
    // Per clip: opening it, then reading each of its parts.
    const size_t steps = 1 + threads;
    std::vector<double> weights;
    for (size_t i = 0; i < paths.size(); ++i) {
        weights.push_back(kOpeningShare);
        weights.insert(weights.end(), threads, (1 - kOpeningShare) / double(threads));
    }
    SharedProgress progress(std::move(weights), report);

    struct Reading {
        engine::ClipPtr clip;  // as opened first, for its first part
        engine::Rational fps;
        int64_t frameCount = 0;
        std::vector<int64_t> cuts;  // soundParts
        std::vector<float> samples;
    };
    std::vector<Reading> readings(paths.size());
    runTasks(paths.size(), threads, progress, [&](size_t i) {
        Reading& reading = readings[i];
        reading.clip = openForSound(paths[i], [&](int64_t done, int64_t total) {
            progress.set(i * steps, total > 0 ? double(done) / double(total) : 0.0);
        });
        const engine::VideoInfo& info = reading.clip->info();
        if (!info.hasAudio() || info.audioSamples <= 0)
            throw std::runtime_error("'" + paths[i] + "' has no sound to match.");
        reading.fps = info.fps;
        reading.frameCount = info.frameCount;
        const auto longest = static_cast<size_t>(double(info.audioSamples) / info.audioRate / kShortestPartSeconds);
        reading.cuts = soundParts(info, std::clamp<size_t>(longest, 1, threads));
        reading.samples.resize(soundLength(info, info.audioSamples));
        for (size_t k = reading.cuts.size() - 1; k < threads; ++k) progress.set(i * steps + 1 + k, 1.0);
        progress.set(i * steps, 1.0);
    });

    std::vector<std::pair<size_t, size_t>> parts;  // clip, part
    for (size_t i = 0; i < readings.size(); ++i)
        for (size_t k = 0; k + 1 < readings[i].cuts.size(); ++k) parts.emplace_back(i, k);
    runTasks(parts.size(), threads, progress, [&](size_t p) {
        const auto [i, k] = parts[p];
        Reading& reading = readings[i];
        const engine::ClipPtr clip = k == 0 ? std::exchange(reading.clip, nullptr) : openForSound(paths[i]);
        const engine::VideoInfo& info = clip->info();
        const size_t first = soundLength(info, reading.cuts[k]), end = soundLength(info, reading.cuts[k + 1]);
        readSoundPart(
            *clip, reading.cuts[k], reading.cuts[k + 1], std::span(reading.samples).subspan(first, end - first),
            [&](int64_t done, int64_t total) { progress.set(i * steps + 1 + k, double(done) / double(total)); });
    });

    std::vector<AngleSound> sounds(paths.size());
    runTasks(paths.size(), threads, progress, [&](size_t i) {
        Reading& reading = readings[i];
        sounds[i] = describeSound(std::move(reading.samples), reading.fps, reading.frameCount);
    });
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
    const std::vector<AngleSound> sounds = readClips(paths, progress);
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
    if (progress) progress(1.0);
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
