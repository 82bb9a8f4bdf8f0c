#pragma once
// Decodes the frames that playback will show next on a worker thread, a few
// ahead of the clock, so that showing a frame on the UI thread costs nothing.
//
// The UI thread starts reading from a frame and takes the pictures in order.
// Asked for the frame that is due, it gets the newest picture not after it;
// older pictures are dropped, and when the worker has fallen behind the due
// frame it skips ahead to it instead of decoding frames that are already
// late. After each picture the worker calls the ready callback (on the worker
// thread); the callback must only post to the UI thread.
//
// A seek uses the same worker: reading starts at the frame asked for, and a
// newer start supersedes it, the picture in decoding when it came is thrown
// away, so a storm of seeks costs one decode past the last.

#include "engine/core/Clip.h"
#include "player/FrameRenderer.h"

#include <QSize>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

namespace vistrel::player {

class ReadAhead {
public:
    static constexpr int kDefaultDepth = 8;

    explicit ReadAhead(std::function<void()> onPictureReady, int depth = kDefaultDepth);
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // Reads clip frames from `from` on, fitted to area. Pictures already read
    // for the same clip and area from `from` on are kept (a new rate, a seek
    // just ahead); anything else is forgotten.
    void start(engine::ClipPtr clip, int64_t from, QSize area);
    // Stops reading and forgets what was read.
    void halt();

    // The newest ready picture of a frame up to `due`, dropping older ones;
    // nullopt when none is ready yet.
    std::optional<Picture> take(int64_t due);

    // Blocks until the picture of frame n is ready and takes it, with what is
    // before it; nullopt when reading stopped or was moved meanwhile, or n is
    // not among the frames being read.
    std::optional<Picture> waitFor(int64_t n);

    // Pictures decoded and waiting.
    int queued() const;

private:
    void run(std::stop_token stop);
    bool hasWork() const;

    const std::function<void()> onPictureReady_;
    const int depth_;

    mutable std::mutex mutex_;
    std::condition_variable_any wake_;
    std::condition_variable pictureMade_;  // waitFor's wake-up
    engine::ClipPtr clip_;                 // null: nothing to read
    QSize area_;
    int64_t next_ = 0;           // the next frame to decode
    int64_t wantedFrom_ = 0;     // pictures before this are no longer wanted
    uint64_t generation_ = 0;    // changes at every start and halt
    std::deque<Picture> ready_;  // in frame order

    FrameRenderer renderer_;  // used by the worker only
    std::jthread worker_;     // last: stops and joins before the state above goes
};

}  // namespace vistrel::player
