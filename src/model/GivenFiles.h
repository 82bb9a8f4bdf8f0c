#pragma once
// Files handed to the editor from outside, on its command line or by a file
// manager's "Open with": they open through the same operations as the files
// chosen in its dialogs.

#include "model/Ports.h"

#include <optional>
#include <string>
#include <vector>

namespace vistrel::model {

// A file dialog that answers with the files given, as if the user had
// chosen them.
class GivenFiles final : public FileDialog {
public:
    explicit GivenFiles(std::vector<std::string> paths) : paths_(std::move(paths)) {}
    std::optional<std::string> choose() override;  // the first
    std::vector<std::string> chooseSeveral() override { return paths_; }

private:
    std::vector<std::string> paths_;
};

// The files given, in their order, as what opens them: an edit script (a
// file that begins as one does, with its overlap line) alone, as "Open
// edit…" opens it; the clips between edit scripts together, as the clip
// dialog loads the files chosen in it at once. A path that names no file is
// left out with a message.
struct GivenOpening {
    bool editScript = false;
    std::vector<std::string> paths;
};
std::vector<GivenOpening> givenOpenings(const std::vector<std::string>& paths, MessageSink& messages);

}  // namespace vistrel::model
