// "Match start frames by sound" as a user runs it: three cameras of one
// made-up event loaded, Ctrl+M, and the start-frame list filled from their
// sound in the background, with one message about it.

#include "player/PlayerWnd.h"
#include "support/SoundAngles.h"
#include "support/TestMedia.h"
#include "ui/SoundMatchDialog.h"
#include "ui/WindowTestKit.h"

#include <QApplication>

namespace vistrel::ui::testing {
namespace {

class SoundMatchWindow : public MainWindowTest {
protected:
    // Loads the clips into a shown window, presses Ctrl+M and waits for the message.
    void matchBySound(const std::vector<std::filesystem::path>& clips, const std::string& recording = {}) {
        createWindow();
        window().show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
        for (const auto& clip : clips) loadClip(std::filesystem::absolute(clip));
        if (!recording.empty()) {
            soundRecordingDialog_->answers.push_back(recording);
            QTest::keyClick(&window(), Qt::Key_L, Qt::ControlModifier);
        }
        QTest::keyClick(&window(), Qt::Key_M, Qt::ControlModifier);
        ASSERT_NE(window().soundMatch(), nullptr);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !messages_->shown.empty(); }, 120'000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return window().soundMatch() == nullptr; }, 10'000));
    }
};

TEST_F(SoundMatchWindow, CtrlMFillsTheStartFrameListFromTheSound) {
    // B started 0.84 s (21 frames) after A, C 2.69 s before A.
    std::vector<std::filesystem::path> clips;
    for (const auto& angle :
         {test::soundAngle("a", 10), test::soundAngle("later21", 10.84), test::soundAngle("earlier67", 7.31)}) {
        std::string reason;
        const auto clip = test::soundAngleClip(angle, &reason);
        if (!clip) GTEST_SKIP() << reason;
        clips.push_back(*clip);
    }
    matchBySound(clips);
    if (HasFatalFailure()) return;

    // A moves on by 21 frames so that B starts at its first frame; C shows A's
    // moment 0.84 + 2.69 s into it.
    EXPECT_EQ(shownEntries(list("List3")), (std::vector<std::string>{"21", "0", "88"}));
    ASSERT_EQ(messages_->shown.size(), 1u);
    const std::string& message = messages_->shown[0];
    EXPECT_EQ(message.rfind("Start frames found from the sound:\nB: frame 0 (offset -0.840 s, confidence 0.", 0), 0u)
        << message;
    EXPECT_NE(message.find("C: frame 88 (offset 2.690 s, confidence 0."), std::string::npos) << message;
    EXPECT_NE(message.find("Angle A now starts at frame 21, so that angle B"), std::string::npos) << message;
}

// A sound recorder that started 2 s before A: every angle is matched against
// it and its start point set; the edit keeps it through save, open and save,
// and its start point can be found by ear in the start-point dialog.
TEST_F(SoundMatchWindow, AgainstASoundRecordingTheAnglesAndItsStartPointAreSet) {
    std::vector<std::filesystem::path> clips;
    for (const auto& angle :
         {test::soundAngle("a", 10), test::soundAngle("later21", 10.84), test::soundAngle("earlier67", 7.31),
          test::soundRecording("desk", 8, "pcm_s16le", "wav")}) {
        std::string reason;
        const auto clip = test::soundAngleClip(angle, &reason);
        if (!clip) GTEST_SKIP() << reason;
        clips.push_back(std::filesystem::absolute(*clip));
    }
    const std::string recording = clips.back().string();
    clips.pop_back();
    matchBySound(clips, recording);
    if (HasFatalFailure()) return;
    EXPECT_EQ(shownEntries(list("List3")), (std::vector<std::string>{"21", "0", "88", "2840"}));
    EXPECT_EQ(shownEntries(list("List2")).back(), "\u266A " + recording);
    ASSERT_EQ(messages_->shown.size(), 1u);
    EXPECT_EQ(
        messages_->shown[0].rfind("Start frames found from the sound recording:\nA: frame 21 (offset -2.000 s", 0), 0u)
        << messages_->shown[0];

    click("Command5");
    const std::string saved = scriptFolder() + "/with-recording.avs";
    for (int round = 0; round < 2; ++round) {
        saveDialog_->answers.push_back(saved + (round ? ".again" : ""));
        click("Command3");
        openEditDialog_->answers.push_back(saved);
        QTest::keyClick(&window(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    }
    EXPECT_EQ(model::testing::readBytes(saved + ".again"), model::testing::readBytes(saved));
    EXPECT_NE(
        model::testing::readBytes(saved).find("\r\naudio=wavsource(\"" + recording + "\").delayaudio(-2.840)\r\n"),
        std::string::npos);

    StartPointDialog& dialog = openStartPointDialogOn(3);
    auto& listening = dialogControl<player::PlayerWnd>(dialog, "PlayerWnd1");
    ASSERT_TRUE(waitUntilOpened(listening) && listening.isOpen()) << listening.errorMessage().toStdString();
    EXPECT_EQ(listening.frameCount(), 40'000) << "a frame a millisecond";
    ASSERT_TRUE(waitUntilShown(listening));
    EXPECT_EQ(listening.position(), 2840) << "it opens at the start point";
    typeInto(dialog, QStringLiteral("2900"));
    clickOk(dialog);
    EXPECT_EQ(edit().soundStart().entry(0), "2900");
}

TEST_F(SoundMatchWindow, AClipWithoutSoundIsNamedInTheMessage) {
    std::string reason;
    const auto withSound = test::soundAngleClip(test::soundAngle("a", 10), &reason);
    const auto silent = test::testMedia(test::recipes::silentAvi(), &reason);
    if (!withSound || !silent) GTEST_SKIP() << reason;
    matchBySound({*withSound, *silent});
    if (HasFatalFailure()) return;
    EXPECT_EQ(messages_->shown,
              (std::vector<std::string>{"The start frames could not be matched by sound: '" +
                                        std::filesystem::absolute(*silent).string() + "' has no sound to match."}));
    EXPECT_EQ(shownEntries(list("List3")), (std::vector<std::string>{"0", "0"}));
}

}  // namespace
}  // namespace vistrel::ui::testing
