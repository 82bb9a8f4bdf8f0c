// WAVSource and FFAudioSource where a render does not show them: where
// adjustdelay puts the sound, and the refusals. (tests/cli/SoundInStepTest
// renders their sound under edits.)
#include "SourceFixture.h"
#include "engine/Open.h"
#include "support/SoundAngles.h"

namespace vistrel::test {
namespace {

class SoundSource : public SourceTest {
protected:
    std::string run(const std::string& script) {
        engine::OpenOptions options;
        options.indexFolder = indexFolder();
        try {
            return std::to_string(engine::openScriptText(script, "sound.avs", options)->info().audioSamples);
        } catch (const engine::ScriptError& e) {
            return e.what();
        }
    }
};

// Sample 0 at the first picture (the default, or the video track's number),
// or at the file's time 0, 0.48 s (23040 samples) before a picture that starts late.
TEST_F(SoundSource, AdjustDelayPlacesTheSoundAtThePictureOrAtTimeZero) {
    SoundAngle late = soundAngle("late-picture", 10);
    late.seconds = 3;
    late.pictureLateSeconds = 0.48;
    VISTREL_SOUND_ANGLE_OR_SKIP(file, late);
    const std::string call = "ffaudiosource(\"" + file.string() + "\"";
    EXPECT_EQ(run(call + ")"), run(call + ", adjustdelay=0)"));
    EXPECT_EQ(std::stoll(run(call + ", adjustdelay=-2)")) - std::stoll(run(call + ")")), 23040);
}

TEST_F(SoundSource, RefusalsSayWhy) {
    VISTREL_TEST_MEDIA_OR_SKIP(silent, recipes::silentAvi());
    VISTREL_TEST_MEDIA_OR_SKIP(camera, recipes::ffv1Avi());
    const std::string cam = camera.string(), missing = (scratchFolder() / "missing.wav").string();
    const std::pair<std::string, std::string> cases[] = {
        {"ffaudiosource()", "FFAudioSource: No source specified"},
        {"ffaudiosource(\"" + cam + "\", track=-2)", "FFAudioSource: No audio track selected"},
        {"ffaudiosource(\"" + cam + "\", adjustdelay=-4)", "FFAudioSource: Invalid delay adjustment specified"},
        {"ffaudiosource(\"" + silent.string() + "\")", "FFAudioSource: No audio track found"},
        {"ffaudiosource(\"" + cam + "\", track=0)",
         "FFAudioSource: couldn't open file '" + cam + "'\nTrack 0 is not a sound track."},
        {"wavsource(\"" + missing + "\")", "WAVSource: couldn't open file '" + missing + "'\nThe file does not exist."},
        {"wavsource(\"" + cam + "\", \"" + cam + "\")", "WAVSource: only one file is supported"},
    };
    for (const auto& [script, error] : cases) EXPECT_EQ(run(script).substr(0, error.size()), error) << script;
}

}  // namespace
}  // namespace vistrel::test
