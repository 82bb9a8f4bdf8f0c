#include "cli/ProgressBar.h"

#include "cli/CommandLine.h"

#include <algorithm>

namespace vistrel::cli {

namespace {
constexpr int kBarWidth = 30;
constexpr auto kUpdateEvery = std::chrono::milliseconds(100);
}  // namespace

ProgressBar::ProgressBar(std::FILE* out, Style style) : out_(out), style_(style) {}

ProgressBar ProgressBar::forCommand(bool progressLines, bool quiet) {
    if (progressLines) return {stdout, Style::Lines};
    return {stderr, !quiet && stderrIsTerminal() ? Style::Bar : Style::None};
}

void ProgressBar::writing(const std::string& partialPath) {
    if (style_ != Style::Lines) return;
    std::fprintf(out_, "writing %s\n", partialPath.c_str());
    std::fflush(out_);
}

void ProgressBar::indexing(int64_t done, int64_t total) {
    if (style_ == Style::Lines)
        line("indexing", done, total);
    else
        draw("indexing", done, total, "");
}

void ProgressBar::frames(int64_t done, int64_t total, const std::string& label) {
    if (!renderingStarted_) {  // the rate counts from the first frame, not from indexing
        renderingStarted_ = true;
        finish();
        start_ = std::chrono::steady_clock::now();
        lastDraw_ = {};
    }
    if (style_ == Style::Lines) {
        line("frame", done, total);
        return;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    char tail[64];
    std::snprintf(tail, sizeof tail, " %lld/%lld frames, %.1f fps", static_cast<long long>(done),
                  static_cast<long long>(total), seconds > 0 ? done / seconds : 0.0);
    draw(label, done, total, tail);
}

void ProgressBar::matching(double share) {
    const auto done = static_cast<int64_t>(share * 1000);
    if (style_ == Style::Lines)
        line("matching", done, 1000);
    else
        draw("matching", done, 1000, "");
}

bool ProgressBar::due(int64_t done, int64_t total) {
    const auto now = std::chrono::steady_clock::now();
    if (done < total && now - lastDraw_ < kUpdateEvery) return false;
    lastDraw_ = now;
    return true;
}

void ProgressBar::line(const char* label, int64_t done, int64_t total) {
    if (!due(done, total)) return;
    std::fprintf(out_, "%s %lld of %lld\n", label, static_cast<long long>(done), static_cast<long long>(total));
    std::fflush(out_);
}

void ProgressBar::draw(const std::string& label, int64_t done, int64_t total, const std::string& tail) {
    if (style_ != Style::Bar || !due(done, total)) return;
    const double share = total > 0 ? std::clamp(double(done) / double(total), 0.0, 1.0) : 0.0;
    const int filled = static_cast<int>(share * kBarWidth);
    std::fprintf(out_, "\r%-9s [%s%s] %3d%%%s\033[K", label.c_str(), std::string(filled, '#').c_str(),
                 std::string(kBarWidth - filled, ' ').c_str(), static_cast<int>(share * 100), tail.c_str());
    std::fflush(out_);
    drawn_ = true;
}

void ProgressBar::finish() {
    if (style_ == Style::Bar && drawn_) std::fputc('\n', out_);
    drawn_ = false;
}

}  // namespace vistrel::cli
