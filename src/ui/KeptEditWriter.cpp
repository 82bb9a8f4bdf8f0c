#include "ui/KeptEditWriter.h"

#include "model/Scripts.h"

namespace vistrel::ui {

KeptEditWriter::KeptEditWriter(const model::KeptEdit& kept, const model::Edit& edit,
                               std::function<void(const std::string&)> failed)
    : kept_(kept), edit_(edit), failed_(std::move(failed)), thread_([this] { writeWhatWaits(); }) {
    timer_.setSingleShot(true);
    timer_.setInterval(kDelayMilliseconds);
    connect(&timer_, &QTimer::timeout, this, &KeptEditWriter::handOver);
}

KeptEditWriter::~KeptEditWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        waiting_.reset();
    }
    wake_.notify_one();
    thread_.join();
}

// Not restarted by later changes: a steady stream of changes is still kept
// every kDelayMilliseconds.
void KeptEditWriter::editChanged() {
    if (!timer_.isActive()) timer_.start();
}

void KeptEditWriter::handOver() {
    model::EditContent content = edit_.content();
    {
        std::lock_guard lock(mutex_);
        waiting_ = std::move(content);
    }
    wake_.notify_one();
}

void KeptEditWriter::writeWhatWaits() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || waiting_; });
        if (stopping_) return;
        const model::EditContent content = std::move(*waiting_);
        waiting_.reset();
        lock.unlock();
        model::Edit edit;  // this thread's own, for the script writer
        edit.replace(content);
        const auto failure = kept_.write(model::editScriptText(edit), content.switchPoints);
        if (failure)
            QMetaObject::invokeMethod(
                this, [this, reason = *failure] { failed_(reason); }, Qt::QueuedConnection);
        lock.lock();
    }
}

}  // namespace vistrel::ui
