// The system's sound device, whatever this machine has: with no device the
// output refuses to start or reports failure, and is harmless either way.
#include "player/PlayerProbe.h"
#include "player/SoundOutput.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using vistrel::player::QtSoundOutput;
using vistrel::player::SoundFormat;

namespace {

TEST(QtSoundOutput, TakesNothingOnceStopped) {
    QtSoundOutput output;
    output.start({48000, 2, vistrel::engine::SampleType::Int16});  // may fail: no device here
    output.stop();
    EXPECT_EQ(output.bytesFree(), 0);
    EXPECT_FALSE(output.failed());
    const char silence[64] = {};
    output.write(silence, sizeof silence);  // goes nowhere, harmlessly
}

TEST(QtSoundOutput, UnplayableFormatIsRefused) {
    QtSoundOutput output;
    EXPECT_FALSE(output.start({0, 0, vistrel::engine::SampleType::Int16}));
}

TEST(QtSoundOutput, PlayerWithTheSystemDevicePlaysAClipWithSound) {
    VISTREL_TEST_MEDIA_OR_SKIP(path, vistrel::test::recipes::ntscStereoAvi());
    vistrel::player::PlayerWnd player;  // the standard engine and sound device
    player.resize(320, 266);
    player.filename(QString::fromStdString(path.string()));
    ASSERT_TRUE(vistrel::test::waitUntilOpened(player));
    ASSERT_TRUE(player.isOpen()) << player.errorMessage().toStdString();
    player.play();
    vistrel::test::runEventLoop(300ms);
    EXPECT_EQ(player.sendcommand("status mode"), "playing");
    EXPECT_GT(player.position(), 0);
    player.stop();
}

}  // namespace
