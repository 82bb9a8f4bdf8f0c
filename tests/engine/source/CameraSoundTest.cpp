// Camera sound reaches the clip: format and length, lossless samples exactly, lossy ones in every channel.
#include "SourceFixture.h"
#include "support/CameraMedia.h"

#include <cmath>

namespace vistrel::test {
namespace {

class CameraSound : public SourceTest, public ::testing::WithParamInterface<MediaRecipe> {};

TEST_P(CameraSound, ReachesTheClipInItsOwnChannels) {
    const MediaRecipe& recipe = GetParam();
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipe);
    auto clip = open(file);
    const engine::VideoInfo& info = clip->info();
    ASSERT_EQ(std::pair(info.channels, info.audioRate), std::pair(recipe.audioChannels, recipe.audioRate));
    const bool int16 = recipe.audioEncoder == "pcm_s16le", lossless = recipe.audioEncoder.starts_with("pcm_");
    EXPECT_EQ(info.sampleType, int16 ? engine::SampleType::Int16 : engine::SampleType::Float32);
    EXPECT_NEAR(double(info.audioSamples), double(recipe.audioSamples()), lossless ? 0 : 2048);

    const int64_t from = 24000, count = 4800;
    std::vector<float> samples(size_t(count * info.channels));  // room for as many 16-bit ones too
    clip->audio(samples.data(), from, count);
    for (int c = 0; c < info.channels; ++c) {
        double power = 0;
        for (int64_t s = 0; s < count; ++s) {
            const size_t i = size_t(s * info.channels + c);
            const float got = int16 ? reinterpret_cast<const int16_t*>(samples.data())[i] / 32768.0f : samples[i];
            if (lossless) {
                ASSERT_EQ(got, testSample(from + s, c) / 32768.0f) << "sample " << s << " channel " << c;
            }
            power += got * got;
        }
        EXPECT_NEAR(std::sqrt(power / count), 0.141, 0.05) << "channel " << c << ": its sawtooth, not silence";
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, CameraSound, ::testing::ValuesIn(recipes::cameraSound()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vistrel::test
