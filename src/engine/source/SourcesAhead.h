#pragma once
// Opens, side by side, the media files that a script names in plain
// avisource("file") calls, before the script reaches them: opening a file
// decodes its first frames, and a preview of four angles would otherwise open
// them one after another. Only files whose index is already stored are opened
// ahead, so that building an index keeps its progress reports, in order.

#include "engine/script/Environment.h"
#include "engine/source/FfmsSource.h"

#include <filesystem>
#include <future>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace vistrel::engine {

class SourcesAhead {
public:
    // Each open holds a decoder with its reference frames: a script naming
    // more files than this opens the rest as it reaches them.
    static constexpr size_t kMostOpenedAhead = 8;

    // Starts the opens; a text that does not tokenize starts none.
    SourcesAhead(std::string_view scriptText, const Environment& env);
    // Waits for the opens still running.
    ~SourcesAhead();
    SourcesAhead(const SourcesAhead&) = delete;
    SourcesAhead& operator=(const SourcesAhead&) = delete;

    // The source opened ahead for avisource(nameInScript) with no further
    // arguments, or null when none was; rethrows the error of its open.
    // Each is handed out once.
    std::shared_ptr<FfmsSource> take(const std::string& nameInScript);

    // The names in plain avisource("file") calls of the text, each once.
    static std::vector<std::string> plainSourceNames(std::string_view scriptText);

private:
    std::map<std::string, std::future<std::shared_ptr<FfmsSource>>> opening_;
};

}  // namespace vistrel::engine
