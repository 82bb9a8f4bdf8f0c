// The clip contract over every filter of this folder, each built by a script.
#include "engine/Script.h"
#include "engine/filters/FunctionTable.h"
#include "support/ClipContract.h"

#include <gtest/gtest.h>

namespace {

using namespace vistrel::engine;

class FilterContract : public ::testing::TestWithParam<const char*> {};

TEST_P(FilterContract, IsKept) {
    Environment env;
    ClipPtr clip = evaluateScriptClip(GetParam(), "contract.avs", env);
    vistrel::test::expectClipKeepsItsContract(*clip);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, FilterContract,
    ::testing::Values(
        "blankclip(length=30, width=64, height=48)", "blankclip(length=0)",
        "blankclip(length=10, width=64, height=48, pixel_type=\"YV12\", audio_rate=0)",
        "blankclip(length=10, width=64, height=48, pixel_type=\"YUY2\", stereo=true, sixteen_bit=false)",
        "blankclip(blankclip(width=0, length=5))",
        "dissolve(blankclip(length=10, width=32, height=16), blankclip(length=12, width=32, height=16, color=$ffffff), "
        "4)",
        "dissolve(blankclip(length=3, width=32, height=16), blankclip(length=4, width=32, height=16), 8)",
        "dissolve(blankclip(width=0, length=10), blankclip(width=0, length=5), 3)",
        "blankclip(length=10, width=32, height=16, pixel_type=\"YV12\").fadein(4)",
        "blankclip(length=10, width=32, height=16, sixteen_bit=false).fadeout(15)",
        "stackhorizontal(blankclip(length=5, width=32, height=16), blankclip(length=8, width=16, height=16))",
        "blankclip(length=5, width=320, height=240).bilinearresize(176, 120)",
        "blankclip(length=25, width=32, height=16, fps=25).changefps(30000, 1001)",
        "blankclip(length=25, width=32, height=16, fps=25).changefps(2, linear=false)",
        "blankclip(length=5, width=320, height=240, pixel_type=\"YV12\").bilinearresize(176, 120)",
        "blankclip(length=5, width=320, height=240, pixel_type=\"YUY2\").bilinearresize(100, 300)",
        "blankclip(length=5, width=320, height=240, pixel_type=\"RGB24\").bilinearresize(33, 17)",
        "blankclip(length=5, width=32, height=16, pixel_type=\"YV12\").converttorgb32()",
        "blankclip(length=5, width=32, height=16, pixel_type=\"YUY2\").converttorgb32()",
        "blankclip(length=5, width=32, height=16, pixel_type=\"RGB24\").converttorgb32()",
        "blankclip(length=5, width=32, height=16, pixel_type=\"YV12\").addborders(2, 4, 6, 8)",
        "blankclip(length=5, width=32, height=16, pixel_type=\"RGB24\").addborders(1, 3, 5, 7, $ff00ff)",
        "blankclip(length=5, width=32, height=16, pixel_type=\"YV12\").subtitle(\"Hi\")",
        "blankclip(length=5, width=64, height=16, pixel_type=\"YUY2\").subtitle(\"Hi\", align=5)", "version()",
        "version().addborders(122,20,122,20).converttorgb32().subtitle(\"Vistrel is powered by:\", "
        "text_color=$ffffff)"));

}  // namespace
