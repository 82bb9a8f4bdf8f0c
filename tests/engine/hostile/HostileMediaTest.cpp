// Hostile files through the engine as the player and vistrel-render open
// them: each either becomes a clip whose every frame and sample can be read,
// or is refused with a message that names the file; none crashes or hangs,
// and a good clip opens normally right after.
#include "engine/Open.h"
#include "engine/core/ScriptError.h"
#include "support/FrameIndexPattern.h"
#include "support/HostileMedia.h"
#include "support/TestMedia.h"
#include "support/Watchdog.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <variant>
#include <vector>

namespace vistrel::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class HostileMediaTest : public ::testing::TestWithParam<HostileCase> {
protected:
    fs::path scratch() const { return folder_.path().toStdString(); }

    engine::OpenOptions options() const {
        engine::OpenOptions o;
        o.indexFolder = scratch() / "index";
        return o;
    }

    // The clip, or the message it was refused with.
    std::variant<engine::ClipPtr, std::string> open(const fs::path& file) {
        Watchdog watchdog("opening " + file.string(), 30s);
        try {
            return engine::openClip(file.string(), options());
        } catch (const engine::ScriptError& e) {
            return std::string(e.what());
        }
    }

    // Every frame and all the sound, as a player showing the whole clip would.
    void readEverything(engine::Clip& clip) {
        Watchdog watchdog("reading every frame", 60s);
        const engine::VideoInfo& info = clip.info();
        for (int64_t n = 0; n < info.frameCount; ++n) {
            const engine::FramePtr frame = clip.frame(n);
            ASSERT_EQ(frame->width(), info.width) << "frame " << n;
            ASSERT_EQ(frame->height(), info.height) << "frame " << n;
        }
        if (info.hasAudio()) {
            std::vector<char> samples(size_t(info.bytesPerAudioFrame()) * 4096);
            for (int64_t start = -100; start < info.audioSamples + 4096; start += 4000)
                clip.audio(samples.data(), start, 4096);
        }
    }

    QTemporaryDir folder_;
};

TEST_P(HostileMediaTest, OpensCompletelyOrIsRefusedByName) {
    const HostileCase& hostile = GetParam();
    VISTREL_HOSTILE_MEDIA_OR_SKIP(file, hostile, scratch());

    const auto result = open(file);
    if (const auto* message = std::get_if<std::string>(&result)) {
        EXPECT_NE(hostile.outcome, HostileOutcome::Opens) << "refused: " << *message;
        EXPECT_NE(message->find(file.string()), std::string::npos) << *message;
        EXPECT_GT(message->size(), file.string().size() + 20) << "the message says why: " << *message;
        return;
    }
    EXPECT_NE(hostile.outcome, HostileOutcome::Refused) << "opened a file that should be refused";
    engine::Clip& clip = *std::get<engine::ClipPtr>(result);
    ASSERT_TRUE(clip.info().hasVideo());
    ASSERT_GT(clip.info().frameCount, 0);
    if (hostile.frames >= 0) {
        EXPECT_EQ(clip.info().frameCount, hostile.frames);
    }
    if (hostile.outcome == HostileOutcome::Opens) {
        EXPECT_EQ(clip.info().hasAudio(), hostile.sound);
    }
    readEverything(clip);
}

TEST_P(HostileMediaTest, AGoodClipOpensNormallyAfterIt) {
    const HostileCase& hostile = GetParam();
    VISTREL_HOSTILE_MEDIA_OR_SKIP(file, hostile, scratch());
    std::string reason;
    const auto good = wellFormedClip(&reason);
    if (!good) GTEST_SKIP() << reason;

    open(file);
    const auto result = open(*good);

    ASSERT_TRUE(std::holds_alternative<engine::ClipPtr>(result)) << std::get<std::string>(result);
    engine::Clip& clip = *std::get<engine::ClipPtr>(result);
    EXPECT_EQ(clip.info().frameCount, 50);
    EXPECT_EQ(readFrameIndex(*clip.frame(37)), 37);
}

TEST_P(HostileMediaTest, AScriptNamingItOpensOrSaysWhichFileAndLine) {
    const HostileCase& hostile = GetParam();
    VISTREL_HOSTILE_MEDIA_OR_SKIP(file, hostile, scratch());
    const fs::path script = scratch() / "angle.avs";
    std::ofstream(script, std::ios::binary) << "overlap=20\r\navisource(\"" << file.string() << "\")\r\n";

    const auto result = open(script);

    if (const auto* message = std::get_if<std::string>(&result)) {
        EXPECT_NE(hostile.outcome, HostileOutcome::Opens) << "refused: " << *message;
        EXPECT_NE(message->find(file.string()), std::string::npos) << *message;
        EXPECT_NE(message->find("line 2"), std::string::npos) << *message;
    } else {
        EXPECT_NE(hostile.outcome, HostileOutcome::Refused) << "opened a file that should be refused";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryCase, HostileMediaTest, ::testing::ValuesIn(hostileCases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vistrel::test
