#include "cli/RenderOptions.h"
#include "cli/Renderer.h"

#include <gtest/gtest.h>

using namespace vistrel;

namespace {

std::variant<cli::RenderOptions, cli::UsageError> parse(QStringList args) {
    args.prepend(QStringLiteral("vistrel-render"));
    return cli::parseRenderOptions(args);
}

std::string usageMessage(const QStringList& args) {
    const auto parsed = parse(args);
    const auto* usage = std::get_if<cli::UsageError>(&parsed);
    return usage ? usage->message : "(accepted)";
}

}  // namespace

TEST(RenderOptions, TakesAScriptAndOneAction) {
    const auto parsed = parse({"edit.avs", "-o", "out.mkv", "--frames", "10-20", "-q"});
    ASSERT_TRUE(std::holds_alternative<cli::RenderOptions>(parsed));
    const auto& options = std::get<cli::RenderOptions>(parsed);
    EXPECT_EQ(options.script, "edit.avs");
    EXPECT_EQ(options.output, "out.mkv");
    EXPECT_EQ(options.firstFrame, 10);
    EXPECT_EQ(options.lastFrame, 20);
    EXPECT_TRUE(options.quiet);
}

TEST(RenderOptions, RefusesWhatCannotBeMeant) {
    EXPECT_EQ(usageMessage({}), "Give exactly one script.");
    EXPECT_EQ(usageMessage({"a.avs", "b.avs", "--info"}), "Give exactly one script.");
    EXPECT_EQ(usageMessage({"a.avs"}), "Say what to do: --info, -o FILE, --png DIR, --null, --proxy or --export FILE.");
    EXPECT_EQ(usageMessage({"a.avs", "--export", "a.edl", "--png", "d"}), "--export goes alone.");
    EXPECT_EQ(usageMessage({"a.mp4", "--proxy", "--null"}), "--proxy goes alone.");
    EXPECT_EQ(usageMessage({"a.mp4", "--proxy", "--frames", "1-2"}), "--proxy goes alone.");
    EXPECT_EQ(usageMessage({"a.avs", "--info", "--null"}), "--info goes alone.");
    EXPECT_EQ(usageMessage({"a.avs", "--null", "--png", "d"}), "--null goes alone.");
    for (const char* range : {"5", "9-3", "-3-4", "a-b", "1-2-3"})
        EXPECT_EQ(usageMessage({"a.avs", "--null", "--frames", range}),
                  "--frames takes a range A-B of frame numbers with A <= B.")
            << range;
    EXPECT_NE(usageMessage({"a.avs", "--bogus"}), "(accepted)");
}

TEST(RenderOptions, HelpIsNoError) {
    const auto parsed = parse({"--help"});
    ASSERT_TRUE(std::holds_alternative<cli::UsageError>(parsed));
    EXPECT_TRUE(std::get<cli::UsageError>(parsed).message.empty());
    EXPECT_NE(std::get<cli::UsageError>(parsed).helpText.find("--frames"), std::string::npos);
}

TEST(ClipInfo, ListsEveryFieldOnItsOwnLine) {
    engine::VideoInfo info;
    info.width = 704;
    info.height = 120;
    info.pixelType = engine::PixelType::RGB32;
    info.fps = engine::Rational::reduced(30000, 1001);
    info.frameCount = 300;
    EXPECT_EQ(cli::describeClip(info),
              "width: 704\nheight: 120\nframes: 300\nfps: 30000/1001\npixel_type: RGB32\n"
              "audio_rate: 0\naudio_channels: 0\naudio_samples: 0\nvideo_seconds: 10.010\naudio_seconds: 0.000\n");
    info.audioRate = 48000;
    info.channels = 2;
    info.audioSamples = 480000;
    EXPECT_NE(cli::describeClip(info).find("audio_rate: 48000\naudio_channels: 2\naudio_samples: 480000\n"
                                           "video_seconds: 10.010\naudio_seconds: 10.000\n"),
              std::string::npos);
}
