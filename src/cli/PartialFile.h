#pragma once
// A media file written under a temporary name and given its own name only
// once complete, so that a render only ever replaces its output with its own
// whole result.
//
// The temporary file is made in the output's folder (so that the rename
// stays on one file system) as ".vistrel-" and six lower-case letters or
// digits, created exclusively: two renders to one output, or a file of the
// user's beside it, never share it, and the name stays short beside an
// output name of any valid length. It is removed when it goes away
// incomplete, and on Linux and macOS also when the program is ended by
// SIGINT, SIGTERM, SIGHUP or SIGPIPE while it is being written.

#include <string>

namespace vistrel::cli {

class PartialFile {
public:
    // Creates the temporary file; throws std::runtime_error when it cannot.
    explicit PartialFile(std::string path);
    ~PartialFile();
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    const std::string& partialPath() const { return partial_; }
    // Renames the partial file, replacing a file of the final name; throws when it cannot.
    void complete();

private:
    std::string path_;
    std::string partial_;
    bool completed_ = false;
};

}  // namespace vistrel::cli
