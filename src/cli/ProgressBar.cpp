#include "cli/ProgressBar.h"

#include <algorithm>

namespace vistrel::cli {

namespace {
constexpr int kBarWidth = 30;
}

ProgressBar::ProgressBar(std::FILE* out, bool enabled, bool asLines)
    : out_(out), enabled_(enabled || asLines), asLines_(asLines) {}

void ProgressBar::indexing(int64_t done, int64_t total) { draw("indexing", done, total, ""); }

void ProgressBar::frames(int64_t done, int64_t total, const std::string& label) {
    if (!renderingStarted_) {  // the rate counts from the first frame, not from indexing
        renderingStarted_ = true;
        finish();
        start_ = std::chrono::steady_clock::now();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    char tail[64];
    std::snprintf(tail, sizeof tail, " %lld/%lld frames, %.1f fps", static_cast<long long>(done),
                  static_cast<long long>(total), seconds > 0 ? done / seconds : 0.0);
    draw(label, done, total, tail);
}

void ProgressBar::draw(const std::string& label, int64_t done, int64_t total, const std::string& tail) {
    if (!enabled_) return;
    const auto now = std::chrono::steady_clock::now();
    if (done < total && now - lastDraw_ < std::chrono::milliseconds(100)) return;
    lastDraw_ = now;
    if (asLines_) {
        std::fprintf(out_, "%s %lld %lld\n", label.c_str(), static_cast<long long>(done), static_cast<long long>(total));
        std::fflush(out_);
        return;
    }
    const double share = total > 0 ? std::clamp(double(done) / double(total), 0.0, 1.0) : 0.0;
    const int filled = static_cast<int>(share * kBarWidth);
    std::fprintf(out_, "\r%-9s [%s%s] %3d%%%s\033[K", label.c_str(), std::string(filled, '#').c_str(),
                 std::string(kBarWidth - filled, ' ').c_str(), static_cast<int>(share * 100), tail.c_str());
    std::fflush(out_);
    drawn_ = true;
}

void ProgressBar::finish() {
    if (enabled_ && drawn_ && !asLines_) std::fputc('\n', out_);
    drawn_ = false;
}

}  // namespace vistrel::cli
