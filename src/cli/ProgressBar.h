#pragma once
// A one-line progress bar with frames per second, redrawn on a terminal; or,
// for a program that runs vistrel-render, plain lines "WHAT DONE TOTAL".

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace vistrel::cli {

class ProgressBar {
public:
    // Draws only when enabled (stderr is a terminal and -q was not given);
    // asLines: writes lines instead, whatever out is.
    ProgressBar(std::FILE* out, bool enabled, bool asLines = false);

    void indexing(int64_t done, int64_t total);
    void frames(int64_t done, int64_t total, const std::string& label = "rendering");
    void finish();

private:
    void draw(const std::string& label, int64_t done, int64_t total, const std::string& tail);

    std::FILE* out_;
    bool enabled_;
    bool asLines_;
    bool drawn_ = false;
    bool renderingStarted_ = false;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point lastDraw_{};
};

}  // namespace vistrel::cli
