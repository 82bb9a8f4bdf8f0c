// Mixed rates through the real window and engine: conformed on yes, previewed in step, angle A removed.

#include "model/Messages.h"
#include "support/CameraMedia.h"
#include "ui/ListBox.h"
#include "ui/WindowTestKit.h"

#include <QApplication>
#include <QFontMetrics>

namespace vistrel::ui::testing {
namespace {

TEST_F(MainWindowTest, AThirtyFpsClipAndAPhoneClipNextToATwentyFiveFpsAngleRunInStep) {
    std::string reason;
    test::MediaRecipe thirty = angleClipRecipe("ui-rate-30", 360);
    thirty.fpsNum = 30;
    const auto angleA = test::testMedia(angleClipRecipe("ui-rate-25", 300), &reason), clipB = test::testMedia(thirty);
    const auto phone = test::testMedia(test::recipes::phoneVariableRateMp4(), &reason);
    if (!angleA || !clipB || !phone) GTEST_SKIP() << reason;
    createWindow();
    questions_->answers = {model::questions::yes, model::questions::yes};
    loadClip(*angleA);
    loadClip(*clipB);
    loadClip(*phone);

    ASSERT_EQ(questions_->asked.size(), 2u);
    const std::string conformed = scriptFolder() + "/conformed/";
    const std::string clipBScript = conformed + clipB->stem().string() + "-25fps.avs";
    const std::string phoneScript = conformed + phone->stem().string() + "-25fps.avs";
    EXPECT_EQ(edit().clips().entries(), (std::vector<std::string>{angleA->string(), clipBScript, phoneScript}));
    EXPECT_EQ(shownEntries(list("List2"))[1], clipB->string() + " (25 fps)") << "the clip list names the original";
    EXPECT_EQ(list("List2").model()->index(1, 0).data(Qt::ToolTipRole).toString().toStdString(),
              clipBScript + "\nmade from " + clipB->string() + ": 25 fps");

    click("Command1");
    ASSERT_TRUE(waitUntilOpened(player()) && player().isOpen()) << player().errorMessage().toStdString();
    QTest::keyClick(&player(), Qt::Key_Left);  // a step pauses the playing preview
    for (int frame : {100, 260}) {
        player().sendcommand(QStringLiteral("seek to %1").arg(frame));
        // Frame k is k / 25 s into every angle (the phone's first 20 s are at 30 fps).
        EXPECT_EQ(shownColumnIndex(player(), 0), frame);
        EXPECT_EQ(shownColumnIndex(player(), 1), frame * 30 / 25);
        EXPECT_EQ(shownColumnIndex(player(), 2), frame * 30 / 25) << "at frame " << frame;
    }

    // The 30 fps clip once more, kept as it is, from its frame 60; then angle A goes.
    questions_->answers = {model::questions::no, model::questions::yes};
    loadClip(*clipB);
    StartPointDialog& dialog = openStartPointDialogOn(3);
    typeInto(dialog, QStringLiteral("60"));
    clickOk(dialog);
    clickRow(list("List2"), 0);
    doubleClickRow(list("List2"), 0);
    ASSERT_EQ(questions_->asked.size(), 4u) << "the new angle A runs at 25 fps, the clip kept at 30";
    EXPECT_EQ(edit().clips().entries(), (std::vector<std::string>{clipBScript, phoneScript, clipBScript}));
    EXPECT_EQ(edit().startFrames().entries(), (std::vector<std::string>{"0", "0", "50"})) << "2 s in, at 25 fps";
}

// A path too long for its row gives way in its folders first: the file names,
// which tell the angles apart, stay whole as long as they fit.
TEST(ClipList, LongPathsKeepTheirFileNames) {
    const QFontMetrics metrics(QApplication::font());
    const QString path = QStringLiteral("/home/someone/footage/concert 2026-12-08/camera-b.mp4");
    const int nameWidth = metrics.horizontalAdvance(QStringLiteral("camera-b.mp4"));
    for (int width : {metrics.horizontalAdvance(path), nameWidth * 2, nameWidth + 20, nameWidth / 2}) {
        const QString shown = elidedPath(path, metrics, width);
        EXPECT_LE(metrics.horizontalAdvance(shown), width) << shown.toStdString();
        if (width > nameWidth) {
            EXPECT_TRUE(shown.endsWith(QStringLiteral("/camera-b.mp4"))) << shown.toStdString();
        }
    }
}

}  // namespace
}  // namespace vistrel::ui::testing
