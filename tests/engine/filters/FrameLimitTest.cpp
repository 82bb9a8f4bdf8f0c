// Every filter that makes a picture of a new size, at the most bytes a frame
// may take (made whole, every byte seen by the sanitizers) and one step past
// it (refused by name and size before any picture is made).
#include "TestClips.h"
#include "engine/Script.h"
#include "engine/core/Frame.h"
#include "engine/filters/FunctionTable.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace vistrel::engine;
using vistrel::test::scriptErrorOf;

struct LimitCase {
    const char* atLimit;  // a frame of kMostFrameBytes, or as close as the type's sizes get
    const char* pastLimit;
    const char* refused;  // the function and frame named in the error
    int64_t bytes;
};

class FrameLimit : public ::testing::TestWithParam<LimitCase> {};

TEST_P(FrameLimit, AFrameAtTheLimitIsMadeWholeAndOnePastItIsRefusedByName) {
    Environment env;
    ClipPtr clip = evaluateScriptClip(GetParam().atLimit, "limits.avs", env);
    const VideoInfo& vi = clip->info();
    EXPECT_GT(frameBytes(vi.width, vi.height, vi.pixelType), kMostFrameBytes - (int64_t(1) << 16));
    FramePtr frame = clip->frame(0);
    const Plane& last = frame->plane(frame->planeCount() - 1);
    const int pixel = bytesPerPixel(vi.pixelType);
    EXPECT_EQ(std::memcmp(last.row(last.rows - 1) + last.rowBytes - pixel, last.row(0), size_t(pixel)), 0);
    EXPECT_EQ(scriptErrorOf([&] { evaluateScriptClip(GetParam().pastLimit, "limits.avs", env); }),
              std::string(GetParam().refused) + " frame takes " + std::to_string(GetParam().bytes) +
                  " bytes, more than the 268435456 (256 MiB) a frame may take\n(limits.avs, line 1)");
}

INSTANTIATE_TEST_SUITE_P(
    EveryFilterThatMakesAPicture, FrameLimit,
    ::testing::Values(LimitCase{"blankclip(width=8192, height=8192)", "blankclip(width=65535, height=16384)",
                                "BlankClip: a 65535x16384 RGB32", 4294901760},
                      LimitCase{"blankclip(width=16384, height=10922, pixel_type=\"YV12\")",
                                "blankclip(width=32768, height=32769)", "BlankClip: a 32768x32769 RGB32", 4295098368},
                      LimitCase{"blankclip(width=64, height=64).addborders(4064, 4064, 4064, 4064)",
                                "blankclip(width=64, height=64).addborders(4064, 4064, 4065, 4064)",
                                "AddBorders: a 8193x8192 RGB32", 268468224},
                      LimitCase{"blankclip(width=8192, height=64).bilinearresize(8192, 8192)",
                                "blankclip(width=8192, height=64).bilinearresize(8192, 8194)",
                                "BilinearResize: a 8192x8194 RGB32", 268500992},
                      LimitCase{
                          "a=blankclip(width=4096, height=8192)\nstackhorizontal(a, a)",
                          "stackhorizontal(blankclip(width=4096, height=8192), blankclip(width=4097, height=8192))",
                          "StackHorizontal: a 8193x8192 RGB32", 268468224},
                      LimitCase{"blankclip(width=8192, height=8192, pixel_type=\"RGB24\").converttorgb32()",
                                "blankclip(width=8192, height=8194, pixel_type=\"YV12\").converttorgb32()",
                                "ConvertToRGB32: a 8192x8194 RGB32", 268500992}));

}  // namespace
