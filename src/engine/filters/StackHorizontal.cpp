#include "engine/filters/StackHorizontal.h"

#include "engine/core/ScriptError.h"
#include "engine/filters/FunctionTable.h"

#include <algorithm>
#include <cstring>

namespace vistrel::engine {

namespace {

VideoInfo stackedInfo(const std::vector<ClipPtr>& clips) {
    VideoInfo vi = clips.front()->info();
    int64_t width = vi.width;
    for (size_t i = 1; i < clips.size(); ++i) {
        const VideoInfo& next = clips[i]->info();
        if (next.height != vi.height) throw ScriptError("StackHorizontal: image heights don't match");
        if (next.pixelType != vi.pixelType) throw ScriptError("StackHorizontal: image formats don't match");
        width += next.width;
        vi.frameCount = std::max(vi.frameCount, next.frameCount);
    }
    checkFrameSize("StackHorizontal", width, vi.height, vi.pixelType);
    vi.width = static_cast<int>(width);
    return vi;
}

// Copies one clip's frame into the output at byte column `offsets[p]` of each
// plane. (Odd YV12 widths round their chroma up, so a copy is cut to the row.)
void pasteFrame(const Frame& src, Frame& dst, const int* offsets) {
    for (int p = 0; p < dst.planeCount(); ++p) {
        const Plane &from = src.plane(p), &to = dst.plane(p);
        const int bytes = std::min(from.rowBytes, to.rowBytes - offsets[p]);
        if (bytes <= 0) continue;
        for (int y = 0; y < to.rows; ++y) std::memcpy(to.row(y) + offsets[p], from.row(y), bytes);
    }
}

}  // namespace

StackHorizontal::StackHorizontal(std::vector<ClipPtr> clips)
    : Clip(stackedInfo(clips)), clips_(std::move(clips)), ahead_(clips_.size()) {
    for (const ClipPtr& clip : clips_) lanes_.push_back(std::make_unique<FrameLane>(clip));
}

void StackHorizontal::giveUpAhead(size_t i) {
    for (const FrameLane::Fetch& fetch : ahead_[i]) lanes_[i]->giveUp(fetch);
    ahead_[i].clear();
}

std::vector<StackHorizontal::Fetch> StackHorizontal::startFetches(int64_t n) {
    std::lock_guard lock(mutex_);
    const bool forward = n == lastAsked_ + 1;
    lastAsked_ = n;
    std::vector<Fetch> fetches;
    for (size_t i = 0; i < clips_.size(); ++i) {
        std::deque<FrameLane::Fetch>& ahead = ahead_[i];
        if (!forward || ahead.empty() || ahead.front().frame != n) giveUpAhead(i);
        if (!ahead.empty()) {
            fetches.push_back(ahead.front().result);
            ahead.pop_front();
        } else if (forward) {
            fetches.push_back(lanes_[i]->ask(n).result);
        } else {
            // Beside the lane: a jump waits for no frame the lane still makes
            // (a source makes one frame at a time, so at most for that one).
            fetches.push_back(std::async(std::launch::async, [clip = clips_[i], n] { return clip->frame(n); }));
        }
        if (!forward) continue;
        int64_t next = ahead.empty() ? n + 1 : ahead.back().frame + 1;
        for (; static_cast<int>(ahead.size()) < kFramesAhead && next < info_.frameCount; ++next)
            ahead.push_back(lanes_[i]->ask(next));
    }
    return fetches;
}

FramePtr StackHorizontal::makeFrame(int64_t n) {
    std::vector<FramePtr> frames;
    std::exception_ptr failure;
    for (const Fetch& fetch : startFetches(n)) {
        try {
            frames.push_back(fetch.get());
        } catch (...) {
            if (!failure) failure = std::current_exception();
        }
    }
    if (failure) std::rethrow_exception(failure);
    MutableFramePtr out = Frame::create(info_.width, info_.height, info_.pixelType);
    int offsets[3] = {0, 0, 0};
    for (const FramePtr& f : frames) {
        pasteFrame(*f, *out, offsets);
        for (int p = 0; p < f->planeCount(); ++p) offsets[p] += f->plane(p).rowBytes;
    }
    return out;
}

void StackHorizontal::readAudio(void* dst, int64_t start, int64_t count) { clips_.front()->audio(dst, start, count); }

// Script entry. Slots: 0 clip, 1 further clips.
Value createStackHorizontal(const Args& args, Environment&) {
    std::vector<ClipPtr> clips{args.clip(0)};
    for (const Value& v : args.repeated(1)) clips.push_back(std::get<ClipPtr>(v));
    return ClipPtr(std::make_shared<StackHorizontal>(std::move(clips)));
}

}  // namespace vistrel::engine
