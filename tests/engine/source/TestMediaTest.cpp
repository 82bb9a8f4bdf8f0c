// Generated media: files are made once, reused, and hold what the recipe says.
#include "support/TestMedia.h"

#include <gtest/gtest.h>

namespace vistrel::test {
namespace {

namespace fs = std::filesystem;

TEST(TestMedia, AMadeFileIsReusedNotMadeAgain) {
    VISTREL_TEST_MEDIA_OR_SKIP(path, recipes::silentAvi());
    const auto written = fs::last_write_time(path);
    auto again = testMedia(recipes::silentAvi());
    ASSERT_TRUE(again);
    EXPECT_EQ(*again, path);
    EXPECT_EQ(fs::last_write_time(*again), written);
}

TEST(TestMedia, RecipesThatDifferGetDifferentFiles) {
    MediaRecipe shorter = recipes::silentAvi();
    shorter.frames = 20;
    VISTREL_TEST_MEDIA_OR_SKIP(a, recipes::silentAvi());
    VISTREL_TEST_MEDIA_OR_SKIP(b, shorter);
    EXPECT_NE(a, b);
}

TEST(TestMedia, AMissingEncoderIsASkipReasonNotAFailure) {
    MediaRecipe r = recipes::silentAvi();
    r.videoEncoder = "no-such-encoder";
    std::string reason;
    EXPECT_FALSE(testMedia(r, &reason));
    EXPECT_NE(reason.find("no-such-encoder"), std::string::npos) << reason;
}

TEST(TestMedia, SamplesAreDistinctAcrossChannelsAndTime) {
    EXPECT_NE(testSample(0, 0), testSample(0, 1));
    EXPECT_NE(testSample(0, 0), testSample(1, 0));
    EXPECT_EQ(testSample(100000, 1), testSample(100000, 1));
}

}  // namespace
}  // namespace vistrel::test
