#pragma once
// Opens clips on a worker thread, so that building a file's index on first
// use does not freeze the window, and reports the index progress.
//
// open() waits a short while for the result, so that a file whose index is
// already built (and any script over such files) is open when open() returns;
// a slower open finishes later through `opened`. Only the latest open counts:
// a result or progress of an earlier one is dropped, and an index build it
// started stops (unless a later open of the same file now waits for it).
// Results and progress arrive on the thread the opener lives in. Destroying
// the opener does not wait for an open in progress.

#include "engine/Open.h"
#include "engine/core/Clip.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace vistrel::player {

// The file a path given to the player names. Callers write "/" or "\" as the
// separator: on Windows both are separators; elsewhere a backslash is a
// character of a file name, so a path is read as it stands when it names a
// file, and with its backslashes read as separators only when that names one.
QString resolvePlayerPath(const QString& path);

// Opens a path; throws std::exception with a message for the user.
using OpenFunction = std::function<engine::ClipPtr(const QString& path, const engine::IndexProgress& progress)>;

// The script engine's openClip, preferring preview proxies.
OpenFunction engineOpenFunction();

// For main(), before any thread starts: glibc gives each decoding thread (the
// read-ahead, a lane per angle, the openers) a heap arena of its own, and
// picture buffers made on one thread and freed on another leave them holding
// memory, most of all while seeking, as FFmpeg frees and remakes each
// decoder's picture tables at every seek. The editor keeps one arena. (The
// threads that read the angles' sound for matching would wait on each other
// for it; they run in vistrel-sync, a process of their own.) Does nothing on
// other C libraries.
void limitHeapArenas();

struct OpenResult {
    QString path;
    engine::ClipPtr clip;  // null when the open failed
    QString error;         // why, when it failed
};

class ClipOpener : public QObject {
    Q_OBJECT

public:
    explicit ClipOpener(OpenFunction open, QObject* parent = nullptr);
    ~ClipOpener() override;

    // Starts opening path and waits up to `wait` for it; `opened` is emitted
    // before open() returns when the open is done by then.
    void open(const QString& path, std::chrono::milliseconds wait);
    // Forgets the open in progress: its result will not be reported, and its
    // index build stops at its next progress report.
    void abandon();

    bool busy() const { return current_ != nullptr; }

    // Opens still running for openers that were destroyed go on by
    // themselves; this waits for them. Called when the application quits,
    // and by tests before the files they handed out go away.
    static void finishAbandonedOpens();

    // One open on its own thread (defined with the opener).
    struct Job;

signals:
    void opened(const vistrel::player::OpenResult& result);
    // The index is being built: 0 to 100.
    void indexProgressed(int percent);

private:
    void deliver(const std::shared_ptr<Job>& job);
    void joinFinishedJobs();

    OpenFunction open_;
    std::shared_ptr<Job> current_;
    std::vector<std::shared_ptr<Job>> jobs_;  // every job whose thread has not been joined
};

}  // namespace vistrel::player
