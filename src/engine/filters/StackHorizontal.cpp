#include "engine/filters/StackHorizontal.h"

#include "engine/ScriptError.h"
#include "engine/filters/Factories.h"

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
    : Clip(stackedInfo(clips)), clips_(std::move(clips)), ahead_(clips_.size()) {}

namespace {

// Frame n of a clip, asked for only once `before` is out: a source decodes in order.
std::shared_future<FramePtr> fetchAfter(std::shared_future<FramePtr> before, ClipPtr clip, int64_t n) {
    return std::async(std::launch::async, [before = std::move(before), clip = std::move(clip), n]() mutable {
        before.wait();
        before = {};  // else every frame stays chained to the one before it
        return clip->frame(n);
    });
}

}  // namespace

std::vector<StackHorizontal::Fetch> StackHorizontal::startFetches(int64_t n) {
    std::lock_guard lock(mutex_);
    const bool forward = n == lastAsked_ + 1;
    lastAsked_ = n;
    std::vector<Fetch> fetches;
    for (size_t i = 0; i < clips_.size(); ++i) {
        std::deque<Ahead>& ahead = ahead_[i];
        if (!forward || ahead.empty() || ahead.front().frame != n) ahead.clear();
        if (ahead.empty()) {
            fetches.push_back(std::async(std::launch::async, [clip = clips_[i], n] { return clip->frame(n); }));
        } else {
            fetches.push_back(std::move(ahead.front().fetch));
            ahead.pop_front();
        }
        if (!forward) continue;
        int64_t next = ahead.empty() ? n + 1 : ahead.back().frame + 1;
        for (; static_cast<int>(ahead.size()) < kFramesAhead && next < info_.frameCount; ++next)
            ahead.push_back({next, fetchAfter(ahead.empty() ? fetches.back() : ahead.back().fetch, clips_[i], next)});
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

void StackHorizontal::readAudio(void* dst, int64_t start, int64_t count) {
    clips_.front()->audio(dst, start, count);
}

// Script entry. Slots: 0 clip, 1 further clips.
Value createStackHorizontal(const Args& args, Environment&) {
    std::vector<ClipPtr> clips{args.clip(0)};
    for (const Value& v : args.repeated(1)) clips.push_back(std::get<ClipPtr>(v));
    return ClipPtr(std::make_shared<StackHorizontal>(std::move(clips)));
}

}  // namespace vistrel::engine
