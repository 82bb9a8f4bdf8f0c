#include "support/ClipContract.h"

#include "engine/core/ScriptError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace vistrel::test {

using namespace vistrel::engine;

namespace {

constexpr uint8_t kUnwritten = 0xA5;
constexpr size_t kGuardBytes = 64;

void expectPlaneShape(const Frame& frame, int index, int rowBytes, int rows) {
    const Plane& plane = frame.plane(index);
    EXPECT_EQ(plane.rowBytes, rowBytes) << "plane " << index;
    EXPECT_EQ(plane.rows, rows) << "plane " << index;
    EXPECT_GE(plane.stride, plane.rowBytes) << "plane " << index;
    EXPECT_NE(plane.data, nullptr) << "plane " << index;
}

void expectFrameShape(const FramePtr& frame, const VideoInfo& info, int64_t n) {
    SCOPED_TRACE("frame " + std::to_string(n));
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->width(), info.width);
    EXPECT_EQ(frame->height(), info.height);
    EXPECT_EQ(pixelTypeName(frame->pixelType()), pixelTypeName(info.pixelType)) << "pixel type of the frame";
    if (info.pixelType == PixelType::YV12) {
        ASSERT_EQ(frame->planeCount(), 3);
        expectPlaneShape(*frame, 0, info.width, info.height);
        expectPlaneShape(*frame, 1, (info.width + 1) / 2, (info.height + 1) / 2);
        expectPlaneShape(*frame, 2, (info.width + 1) / 2, (info.height + 1) / 2);
    } else {
        ASSERT_EQ(frame->planeCount(), 1);
        expectPlaneShape(*frame, 0, info.width * bytesPerPixel(info.pixelType), info.height);
    }
}

bool samePixels(const Frame& a, const Frame& b) {
    if (a.planeCount() != b.planeCount()) return false;
    for (int p = 0; p < a.planeCount(); ++p) {
        const Plane& x = a.plane(p);
        const Plane& y = b.plane(p);
        if (x.rowBytes != y.rowBytes || x.rows != y.rows) return false;
        for (int row = 0; row < x.rows; ++row)
            if (std::memcmp(x.row(row), y.row(row), static_cast<size_t>(x.rowBytes)) != 0) return false;
    }
    return true;
}

void expectFramesKeepTheirContract(Clip& clip) {
    const VideoInfo info = clip.info();
    if (!info.hasVideo()) {
        EXPECT_THROW(clip.frame(0), ScriptError) << "a clip without video has no frame to give";
        return;
    }
    EXPECT_GT(info.fps.num, 0) << "a clip with video has a frame rate";
    if (info.frameCount <= 0) return;  // a clip of no frames may refuse requests
    const int64_t last = info.frameCount - 1;
    for (int64_t n : {int64_t(0), last / 2, last}) expectFrameShape(clip.frame(n), info, n);
    FramePtr first = clip.frame(0);
    FramePtr final = clip.frame(last);
    EXPECT_TRUE(samePixels(*clip.frame(last + 1), *final)) << "one past the end gives the last frame";
    EXPECT_TRUE(samePixels(*clip.frame(last + 1000), *final)) << "far past the end gives the last frame";
    EXPECT_TRUE(samePixels(*clip.frame(-1), *first)) << "a negative frame number gives the first frame";
}

// Reads count samples at start into a buffer with guard bytes after it; the
// guard must survive, and the bytes read are returned.
std::vector<uint8_t> readGuarded(Clip& clip, int64_t start, int64_t count) {
    const size_t bytes = static_cast<size_t>(count * clip.info().bytesPerAudioFrame());
    std::vector<uint8_t> buffer(bytes + kGuardBytes, kUnwritten);
    clip.audio(buffer.data(), start, count);
    const bool guardIntact = std::all_of(buffer.begin() + static_cast<ptrdiff_t>(bytes), buffer.end(),
                                         [](uint8_t b) { return b == kUnwritten; });
    EXPECT_TRUE(guardIntact) << "audio(" << start << ", " << count << ") wrote past count samples";
    buffer.resize(bytes);
    return buffer;
}

bool allZero(const std::vector<uint8_t>& bytes, size_t from = 0) {
    return std::all_of(bytes.begin() + static_cast<ptrdiff_t>(from), bytes.end(), [](uint8_t b) { return b == 0; });
}

void expectAudioKeepsItsContract(Clip& clip) {
    const VideoInfo info = clip.info();
    if (!info.hasAudio()) {
        readGuarded(clip, 0, 16);  // nothing may be written
        EXPECT_EQ(info.audioSamples, 0) << "a clip without sound has no samples";
        return;
    }
    EXPECT_GE(info.audioSamples, 0);
    EXPECT_TRUE(info.channels > 0 && info.audioRate > 0);
    const int64_t samples = info.audioSamples;
    const int64_t window = 256;
    const int frameBytes = info.bytesPerAudioFrame();

    const std::vector<uint8_t> head = readGuarded(clip, 0, std::min(window, samples));
    EXPECT_EQ(head, readGuarded(clip, 0, std::min(window, samples))) << "the same samples twice";

    const std::vector<uint8_t> straddling = readGuarded(clip, samples - window / 2, window);
    EXPECT_TRUE(allZero(straddling, static_cast<size_t>(window / 2 * frameBytes)))
        << "samples past the end are silence";
    EXPECT_TRUE(allZero(readGuarded(clip, samples + 10, window))) << "a read past the end is silence";
    EXPECT_TRUE(allZero(readGuarded(clip, -window, window))) << "a read before the start is silence";
    const std::vector<uint8_t> beforeAndIn = readGuarded(clip, -window / 2, window);
    EXPECT_TRUE(allZero(std::vector<uint8_t>(beforeAndIn.begin(), beforeAndIn.begin() + window / 2 * frameBytes)))
        << "samples before the start are silence";
}

}  // namespace

void expectClipKeepsItsContract(Clip& clip) {
    {
        SCOPED_TRACE("video");
        expectFramesKeepTheirContract(clip);
    }
    {
        SCOPED_TRACE("audio");
        expectAudioKeepsItsContract(clip);
    }
}

}  // namespace vistrel::test
