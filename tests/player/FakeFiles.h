#pragma once
// Files for a player without a disk: an open function that hands out clips
// by name, and a gate that holds an open back until the test lets it go (a
// file whose index is still being built).

#include "engine/core/ScriptError.h"
#include "player/ClipOpener.h"

#include <QString>

#include <condition_variable>
#include <map>
#include <mutex>

namespace vistrel::test {

class Gate {
public:
    void release() {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        changed_.notify_all();
    }
    void wait() {
        std::unique_lock lock(mutex_);
        ++waiting_;
        changed_.wait(lock, [this] { return open_; });
        --waiting_;
    }
    // Whether an open is held back at the gate right now.
    bool holding() {
        std::lock_guard lock(mutex_);
        return waiting_ > 0;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
    int waiting_ = 0;
};

struct FakeFile {
    engine::ClipPtr clip;  // null: opening fails with `error`
    std::string error;
    Gate* gate = nullptr;  // set: reports progress 42% and waits for the gate
};

// Fill before handing open() to a player; the player's opener thread reads it.
class FakeFiles {
public:
    void add(const QString& path, engine::ClipPtr clip, Gate* gate = nullptr) {
        files_[path] = {std::move(clip), {}, gate};
    }
    void addBroken(const QString& path, std::string error) { files_[path] = {nullptr, std::move(error), nullptr}; }

    player::OpenFunction open() const {
        return [this](const QString& path, const engine::IndexProgress& progress) -> engine::ClipPtr {
            const auto found = files_.find(path);
            if (found == files_.end()) throw engine::ScriptError("no such file: " + path.toStdString());
            const FakeFile& file = found->second;
            if (file.gate) {
                if (progress) progress(42, 100);
                file.gate->wait();
            }
            if (!file.clip) throw std::runtime_error(file.error);
            return file.clip;
        };
    }

private:
    std::map<QString, FakeFile> files_;
};

}  // namespace vistrel::test
