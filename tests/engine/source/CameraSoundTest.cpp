// Sound as cameras and phones write it reaches the clip: its rate, channels
// and length, lossless samples exactly and lossy ones in their own channel.
#include "SourceFixture.h"

#include "support/CameraMedia.h"

#include <cmath>

namespace vistrel::test {
namespace {

using engine::SampleType;

constexpr int64_t kMostCodecDelay = 2048;  // samples of priming and padding a lossy coder may add

class CameraSound : public SourceTest, public ::testing::WithParamInterface<MediaRecipe> {
protected:
    // Every sample of the clip as a float, channel by channel.
    static std::vector<std::vector<float>> channelsOf(engine::Clip& clip) {
        const engine::VideoInfo& info = clip.info();
        const auto count = static_cast<size_t>(info.audioSamples);
        std::vector<std::vector<float>> channels(size_t(info.channels), std::vector<float>(count));
        std::vector<char> bytes(count * size_t(info.bytesPerAudioFrame()));
        clip.audio(bytes.data(), 0, info.audioSamples);
        for (size_t s = 0; s < count; ++s)
            for (size_t c = 0; c < channels.size(); ++c) {
                const size_t i = s * channels.size() + c;
                channels[c][s] = info.sampleType == SampleType::Int16
                                     ? float(reinterpret_cast<const int16_t*>(bytes.data())[i]) / 32768
                                     : reinterpret_cast<const float*>(bytes.data())[i];
            }
        return channels;
    }

    // How much channel c, read from sample `lag` on, looks like the channel c that was written.
    static double likeness(const std::vector<float>& got, int channel, int64_t lag, int64_t length) {
        double both = 0, gotSquared = 0, wantSquared = 0;
        for (int64_t s = 0; s < length; ++s) {
            const double want = testSample(s, channel) / 32768.0, have = got[size_t(s + lag)];
            both += want * have;
            gotSquared += have * have;
            wantSquared += want * want;
        }
        return gotSquared > 0 ? both / std::sqrt(gotSquared * wantSquared) : 0;
    }
};

TEST_P(CameraSound, ReachesTheClipInItsOwnChannels) {
    const MediaRecipe& recipe = GetParam();
    VISTREL_TEST_MEDIA_OR_SKIP(file, recipe);
    auto clip = open(file);
    const engine::VideoInfo& info = clip->info();
    ASSERT_TRUE(info.hasAudio());
    EXPECT_EQ(info.audioRate, recipe.audioRate);
    ASSERT_EQ(info.channels, recipe.audioChannels);
    const bool lossless = recipe.audioEncoder.starts_with("pcm_");
    EXPECT_EQ(info.sampleType, recipe.audioEncoder == "pcm_s16le" ? SampleType::Int16 : SampleType::Float32);
    EXPECT_NEAR(double(info.audioSamples), double(recipe.audioSamples()), lossless ? 0 : kMostCodecDelay);

    const auto channels = channelsOf(*clip);
    if (lossless) {
        for (int c = 0; c < info.channels; ++c)
            for (int64_t s = 0; s < info.audioSamples; s += 997)
                ASSERT_EQ(channels[size_t(c)][size_t(s)], testSample(s, c) / 32768.0f) << "sample " << s << " channel " << c;
        return;
    }
    // A lossy coder delays the sound by a few hundred samples at most; channel 0 tells by how much.
    const int64_t length = recipe.audioRate / 2;
    int64_t lag = 0;
    double best = -1;
    for (int64_t l = 0; l < kMostCodecDelay && l + length < info.audioSamples; ++l)
        if (const double like = likeness(channels[0], 0, l, length); like > best) {
            best = like;
            lag = l;
        }
    for (int c = 0; c < info.channels; ++c)
        EXPECT_GT(likeness(channels[size_t(c)], c, lag, length), 0.85) << "channel " << c << " at lag " << lag;
}

INSTANTIATE_TEST_SUITE_P(Formats, CameraSound, ::testing::ValuesIn(recipes::cameraSound()),
                         [](const auto& info) {
                             std::string name;
                             for (char c : info.param.name) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

}  // namespace
}  // namespace vistrel::test
