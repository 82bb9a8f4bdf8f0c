#pragma once
// The FFMS2 index of a media file: where every frame and keyframe lies.
// Built once with progress reports and kept in an index folder under a name
// made from the file's absolute path, size and modification time, so that a
// changed file gets a new index and the next open of the same file reads the
// stored one instead of scanning the file again.

#include "engine/script/Environment.h"
#include "engine/source/FfmsLibrary.h"
#include "engine/source/IndexBuilds.h"

#include <filesystem>
#include <string>

namespace vistrel::engine {

class SourceIndex {
public:
    // folder may be empty: then nothing is stored. progress may throw to
    // stop an indexing that is no longer wanted: load() then throws that
    // exception, and the index is built and stored only if another load of
    // the same file waits for it. Throws MediaError.
    SourceIndex(std::filesystem::path folder, IndexProgress progress);

    // The index of the file at path (UTF-8), read from the folder when a
    // valid one is there, built and stored otherwise; with a folder, never
    // built twice at once in this process (see IndexBuilds).
    FfmsIndexPtr load(const std::string& path);

    // Where the index of this file is kept; empty without a folder.
    std::filesystem::path indexFileFor(const std::string& path) const;

private:
    FfmsIndexPtr readStored(const std::filesystem::path& file, const std::string& path) const;
    // Builds the index under the claim (null without a folder) and stores it in `file`, if any.
    FfmsIndexPtr build(const std::string& path, IndexBuilds::Build* claim, const std::filesystem::path& file) const;
    void store(FFMS_Index* index, const std::filesystem::path& file) const;

    std::filesystem::path folder_;
    IndexProgress progress_;
};

}  // namespace vistrel::engine
