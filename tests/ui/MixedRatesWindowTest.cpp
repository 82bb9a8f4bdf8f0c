// Angles of different rates through the real window and engine: a 30 fps
// clip and a variable-rate phone clip next to a 25 fps angle A, conformed
// on the user's yes and previewed in step.

#include "support/CameraMedia.h"
#include "ui/WindowTestKit.h"

namespace vistrel::ui::testing {
namespace {

TEST_F(MainWindowTest, AThirtyFpsClipAndAPhoneClipNextToATwentyFiveFpsAngleRunInStep)
{
    std::string reason;
    test::MediaRecipe thirty = angleClipRecipe("ui-rate-30", 360);
    thirty.fpsNum = 30;
    const auto angleA = test::testMedia(angleClipRecipe("ui-rate-25", 300), &reason);
    const auto clipB = test::testMedia(thirty, &reason);
    const auto phone = test::testMedia(test::recipes::phoneVariableRateMp4(), &reason);
    if (!angleA || !clipB || !phone) GTEST_SKIP() << reason;
    createWindow();
    question_->answers = {true, true};
    loadClip(*angleA);
    loadClip(*clipB);
    loadClip(*phone);

    ASSERT_EQ(question_->asked.size(), 2u);
    EXPECT_EQ(question_->asked[0].rfind("Angle A runs at 25 fps, but ui-rate-30", 0), 0u) << question_->asked[0];
    const std::string conformed = scriptFolder() + "/conformed/";
    const std::string phoneScript = conformed + phone->stem().string() + "-25fps.avs";
    EXPECT_EQ(edit().clips().entries(), (std::vector<std::string>{angleA->string(),
                                                                  conformed + clipB->stem().string() + "-25fps.avs",
                                                                  phoneScript}));
    EXPECT_EQ(model::testing::readBytes(phoneScript), "ChangeFPS(avisource(\"" + phone->string() + "\"), 25, 1)\r\n");

    click("Command1");
    ASSERT_TRUE(waitUntilOpened(player()));
    ASSERT_TRUE(player().isOpen()) << player().errorMessage().toStdString();
    QTest::keyClick(&player(), Qt::Key_Left);  // a step pauses the playing preview
    for (int frame : {100, 260}) {
        player().sendcommand(QStringLiteral("seek to %1").arg(frame));
        // Frame k of the preview is k / 25 s into every angle: frame k * 30 / 25 of a 30 fps clip,
        // and of the phone clip the picture on screen then (its 30 fps part lasts 20 s).
        EXPECT_EQ(shownColumnIndex(player(), 0), frame);
        EXPECT_EQ(shownColumnIndex(player(), 1), frame * 30 / 25);
        EXPECT_EQ(shownColumnIndex(player(), 2), frame * 30 / 25) << "at frame " << frame;
    }
}

}  // namespace
}  // namespace vistrel::ui::testing
