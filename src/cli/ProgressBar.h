#pragma once
// The progress of a render: a one-line bar with frames per second, redrawn
// on a terminal, or for a program one line per update ("writing PATH",
// "indexing N of M", "frame N of M", vistrel-sync's "matching N of 1000"),
// at most ten a second and always the last one.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace vistrel::cli {

class ProgressBar {
public:
    enum class Style { None, Bar, Lines };

    ProgressBar(std::FILE* out, Style style);
    // A command's progress: lines on stdout for a program that asked for
    // them, otherwise a bar on stderr when that is a terminal and not quiet.
    static ProgressBar forCommand(bool progressLines, bool quiet);

    // The partial file just made, which the output becomes when complete.
    void writing(const std::string& partialPath);
    void indexing(int64_t done, int64_t total);
    // label: what the bar says it does ("rendering", "proxy").
    void frames(int64_t done, int64_t total, const std::string& label = "rendering");
    void matching(double share);  // vistrel-sync: reading and matching the angles' sound
    void finish();

private:
    bool due(int64_t done, int64_t total);
    void draw(const std::string& label, int64_t done, int64_t total, const std::string& tail);
    void line(const char* label, int64_t done, int64_t total);

    std::FILE* out_;
    Style style_;
    bool drawn_ = false;
    bool renderingStarted_ = false;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point lastDraw_{};
};

}  // namespace vistrel::cli
