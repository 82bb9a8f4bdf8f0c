#pragma once

#include "model/Edit.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLockFile;

namespace vistrel::model {

// The edit kept on disk while Vistrel runs, so that a run that ends without
// closing normally (a crash, a kill, a power cut) loses nothing. The folder
// holds the edit script of the edit (edit.avs), the switch list verbatim
// (switch-points.txt: the first switch point's frame and entries the script
// cannot show exactly), the path of the edit's own file when it has one
// (edit-file.txt) and, while a Vistrel keeps its edit there, the lock
// running.lock. A normal close removes all but the lock, so
// finding edit.avs at start means the last run did not close normally.
// Each file is written through a temporary file that replaces it only when
// complete.
class KeptEdit {
public:
    explicit KeptEdit(std::string folder);
    ~KeptEdit();
    KeptEdit(const KeptEdit&) = delete;
    KeptEdit& operator=(const KeptEdit&) = delete;

    // $XDG_STATE_HOME/vistrel, XDG_STATE_HOME defaulting to ~/.local/state
    // (a value that is not an absolute path counts as unset); on Windows
    // the local application data folder's vistrel/state.
    static std::string platformFolder();
    static std::string stateFolder(const std::string& xdgStateHome, const std::string& home);

    const std::string& folder() const { return folder_; }
    std::string scriptPath() const { return folder_ + "/edit.avs"; }

    // Takes the folder for this run, creating it when missing. A lock left
    // by a process that no longer runs is taken over. Returns why the folder
    // cannot be used: another running Vistrel keeps its edit there, or it
    // cannot be created or written.
    std::optional<std::string> claim();

    bool holdsEdit() const;
    // Keeps an edit: its script text and switch list entries. Safe on any
    // one thread at a time. Returns the reason on failure.
    std::optional<std::string> write(const std::string& scriptText, const std::vector<std::string>& switchPoints) const;
    // The kept edit; the switch list as kept when it writes the same script.
    // Throws std::runtime_error "<path>: <why>" when it cannot be read.
    EditContent read() const;
    // The edit's own file (EditFile::path): kept beside it, read back with it;
    // "" when it has none.
    std::optional<std::string> writeEditFile(const std::string& path) const;
    std::string editFile() const;
    // Renames an unreadable edit.avs so that it is not offered again, and
    // returns its new path.
    std::string setAside() const;
    // Removes the kept edit (a normal close, or Discard).
    void remove() const;
    // Removes the kept edit and gives the folder up.
    void release();

private:
    std::string switchPointsPath() const { return folder_ + "/switch-points.txt"; }
    std::string editFilePath() const { return folder_ + "/edit-file.txt"; }

    std::string folder_;
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace vistrel::model
