#include "ui/KeptEditWriter.h"

namespace vistrel::ui {

KeptEditWriter::KeptEditWriter(const model::KeptEdit& kept, std::function<KeptEditSnapshot()> snapshot,
                               std::function<void(const std::string&)> failed)
    : kept_(kept), snapshot_(std::move(snapshot)), failed_(std::move(failed)),
      thread_([this] { writeWhatWaits(); })
{
    timer_.setSingleShot(true);
    timer_.setInterval(delayMilliseconds);
    connect(&timer_, &QTimer::timeout, this, &KeptEditWriter::handOver);
}

KeptEditWriter::~KeptEditWriter()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        waiting_.reset();
    }
    wake_.notify_one();
    thread_.join();
}

// Not restarted by later changes: a steady stream of changes is still kept
// every delayMilliseconds.
void KeptEditWriter::editChanged()
{
    if (!timer_.isActive()) timer_.start();
}

void KeptEditWriter::handOver()
{
    KeptEditSnapshot snapshot = snapshot_();
    {
        std::lock_guard lock(mutex_);
        waiting_ = std::move(snapshot);
    }
    wake_.notify_one();
}

void KeptEditWriter::writeWhatWaits()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || waiting_; });
        if (stopping_) return;
        const KeptEditSnapshot snapshot = std::move(*waiting_);
        waiting_.reset();
        lock.unlock();
        const auto failure = kept_.write(snapshot.scriptText, snapshot.switchPoints);
        if (failure)
            QMetaObject::invokeMethod(this, [this, reason = *failure] { failed_(reason); }, Qt::QueuedConnection);
        lock.lock();
    }
}

}  // namespace vistrel::ui
