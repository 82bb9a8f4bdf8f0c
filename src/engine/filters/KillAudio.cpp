// KillAudio: the same clip without its sound.
#include "engine/filters/FunctionTable.h"

namespace vistrel::engine {

namespace {

class KillAudio : public Clip {
public:
    explicit KillAudio(ClipPtr child) : Clip(child->info()), child_(std::move(child)) { info_.removeAudio(); }

protected:
    FramePtr makeFrame(int64_t n) override { return child_->frame(n); }
    void readAudio(void*, int64_t, int64_t) override {}  // never called: there is no sound
    bool worthCaching() const override { return false; }

private:
    ClipPtr child_;
};

}  // namespace

Value createKillAudio(const Args& args, Environment&) {
    return Value(ClipPtr(std::make_shared<KillAudio>(args.clip(0))));
}

}  // namespace vistrel::engine
