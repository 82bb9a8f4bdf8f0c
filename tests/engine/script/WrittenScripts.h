#pragma once
// The texts of the scripts Vistrel writes, built here the way its writers
// build them (CR LF after every line), for tests that run them.

#include <cstdint>
#include <string>
#include <vector>

namespace vistrel::test {

struct EditScriptInput {
    std::vector<std::string> clips;        // paths, in angle order
    std::vector<std::string> startFrames;  // one per clip
    std::vector<std::string> switches;     // "00000300|B"
    std::string overlap = "20";
    std::string fadeIn;   // "fadein(overlap)" or ""
    std::string fadeOut;  // "fadeout(overlap)" or ""
    // A sound recording laid under the whole edit instead of angle A's
    // sound, and the point in it where the edit starts, in milliseconds.
    std::string recording;
    int64_t recordingStartMs = 0;
};

std::string editScript(const EditScriptInput& input);
std::string previewScript(const std::vector<std::string>& clips, const std::vector<std::string>& startFrames,
                          const std::string& overlap, const std::string& fadeIn, const std::string& fadeOut);
std::string introScript();

}  // namespace vistrel::test
