#pragma once
// Keeps the edit on disk a moment after each change without the window
// waiting for the disk. A change starts a short timer (further changes ride
// on it); when it fires, the script text is built on the UI thread (about
// 2 ms for ten thousand switch points over four angles) and handed to a
// thread of this writer, which writes it while the window goes on. Only the
// newest text waits to be written: changes made during a write are written
// together right after it.

#include <QObject>
#include <QTimer>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "model/KeptEdit.h"

namespace vistrel::ui {

struct KeptEditSnapshot {
    std::string scriptText;
    std::vector<std::string> switchPoints;
};

class KeptEditWriter : public QObject {
    Q_OBJECT
public:
    static constexpr int delayMilliseconds = 250;

    // snapshot takes the edit as it is (UI thread); failed hears the reason
    // of a failed write, on the UI thread.
    KeptEditWriter(const model::KeptEdit& kept, std::function<KeptEditSnapshot()> snapshot,
                   std::function<void(const std::string&)> failed);
    // Drops what waits to be written and lets a write under way finish.
    ~KeptEditWriter() override;

    void editChanged();

private:
    void handOver();
    void writeWhatWaits();

    const model::KeptEdit& kept_;
    std::function<KeptEditSnapshot()> snapshot_;
    std::function<void(const std::string&)> failed_;
    QTimer timer_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<KeptEditSnapshot> waiting_;
    bool stopping_ = false;
    std::thread thread_;  // last: started once everything it uses exists
};

}  // namespace vistrel::ui
