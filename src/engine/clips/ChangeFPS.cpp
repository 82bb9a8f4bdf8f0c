#include "engine/clips/ChangeFPS.h"

#include "engine/core/ScriptError.h"

#include <limits>

namespace vistrel::engine {

namespace {

constexpr int64_t kMostFrames = std::numeric_limits<int32_t>::max();
constexpr int64_t kMostLinearRatio = 10;

class ChangeFPS : public Clip {
public:
    ChangeFPS(ClipPtr child, Rational rate, bool linear) : Clip(child->info()), child_(std::move(child)) {
        const VideoInfo& old = child_->info();
        if (!old.hasVideo() || old.fps.num <= 0) throw ScriptError("ChangeFPS: The clip has no video.");
        a_ = old.fps.num * rate.den;
        b_ = old.fps.den * rate.num;
        if (linear && (a_ + b_ / 2) / b_ > kMostLinearRatio)
            throw ScriptError("ChangeFPS: Ratio must be less than 10 for linear access. Set LINEAR=False.");
        const int64_t frames = (old.frameCount * b_ + a_ / 2) / a_;
        if (frames > kMostFrames) throw ScriptError("ChangeFPS: Maximum number of frames exceeded.");
        info_.fps = rate;
        info_.frameCount = frames;
    }

protected:
    FramePtr makeFrame(int64_t n) override { return child_->frame(n * a_ / b_); }
    bool lendFrame(int64_t n, const FrameUse& use) override {
        child_->withFrame(n * a_ / b_, use);
        return true;
    }
    void readAudio(void* dst, int64_t start, int64_t count) override { child_->audio(dst, start, count); }
    bool worthCaching() const override { return false; }

private:
    ClipPtr child_;
    int64_t a_ = 1;
    int64_t b_ = 1;
};

}  // namespace

ClipPtr changeFps(ClipPtr child, Rational rate, bool linear) {
    return std::make_shared<ChangeFPS>(std::move(child), rate, linear);
}

}  // namespace vistrel::engine
