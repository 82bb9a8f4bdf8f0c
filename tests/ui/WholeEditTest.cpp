// One edit from start to end, the way a user makes it: two clips loaded, the
// second one's start frame found in the start-point dialog, the preview
// stepped to two switch points with the player's keys, the angles marked,
// the script built and compared byte for byte.

#include <QCheckBox>
#include <QLineEdit>

#include "model/Ports.h"
#include "ui/WindowTestKit.h"

namespace vistrel::ui::testing {
namespace {

using model::testing::readBytes;

std::string crlfLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

class WholeEdit : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        std::string reason;
        clips_ = generatedClips({"ui-angle-a", "ui-angle-b"}, reason);
        if (clips_.empty()) GTEST_SKIP() << reason;
        createWindow();
    }

    // Steps the paused preview with the player's own keys.
    void pressOnPlayer(Qt::Key key, int times = 1) {
        for (int i = 0; i < times; ++i) QTest::keyClick(&player(), key);
    }

    std::string clipA() const { return clips_[0].string(); }
    std::string clipB() const { return clips_[1].string(); }
    std::vector<std::filesystem::path> clips_;
};

TEST_F(WholeEdit, FromTwoClipsToTheSavedEditScript) {
    loadClip(clips_[0]);
    loadClip(clips_[1]);

    // The second angle starts 150 frames into its clip.
    StartPointDialog& dialog = openStartPointDialogOn(1);
    auto& dialogPlayer = dialogControl<player::PlayerWnd>(dialog, "PlayerWnd1");
    ASSERT_TRUE(waitUntilOpened(dialogPlayer));
    ASSERT_TRUE(dialogPlayer.isOpen()) << dialogPlayer.errorMessage().toStdString();
    typeInto(dialog, QStringLiteral("150"));
    clickJumpTo(dialog);
    EXPECT_EQ(shownFrameIndex(dialogPlayer), 150);
    clickOk(dialog);
    ASSERT_EQ(edit().startFrames().entries(), (std::vector<std::string>{"0", "150"}));

    click("Command1");
    ASSERT_TRUE(waitUntilOpened(player()));
    ASSERT_TRUE(player().isOpen()) << player().errorMessage().toStdString();
    EXPECT_EQ(readBytes(scriptFolder() + "/preview.avs"),
              crlfLines({"overlap=20",
                         "angle0=avisource(\"" + clipA() + "\").bilinearresize(176,120).converttorgb32().trim(0,0)",
                         "angle1=avisource(\"" + clipB() + "\").bilinearresize(176,120).converttorgb32().trim(150,0)",
                         "bc=blankclip(angle0.framecount(),176,120,\"rgb32\",angle0.framerate())",
                         "stackhorizontal(angle0,angle1,bc,bc)", "", ""}));

    pressOnPlayer(Qt::Key_Left);  // a step pauses the playing preview
    pressOnPlayer(Qt::Key_Home);
    pressOnPlayer(Qt::Key_PageDown, 30);
    ASSERT_TRUE(waitUntilShown(player()));
    ASSERT_EQ(player().position(), 300);
    EXPECT_EQ(shownColumnIndex(player(), 0), 300);
    EXPECT_EQ(shownColumnIndex(player(), 1), 450) << "the angles run in step from their start frames";
    click("Command5");
    pressOnPlayer(Qt::Key_PageDown, 20);
    ASSERT_TRUE(waitUntilShown(player()));
    ASSERT_EQ(player().position(), 500);
    click("Command4");
    EXPECT_EQ(shownEntries(list("List1")), (std::vector<std::string>{"00000000|A", "00000300|B", "00000500|A"}));
    EXPECT_EQ(control<QLineEdit>("Text2").text(), QStringLiteral("3"));

    QTest::mouseClick(&control<QCheckBox>("Check1"), Qt::LeftButton);
    const std::string script = scriptFolder() + "/edit.avs";
    saveDialog_->answers.push_back(script);
    click("Command3");

    EXPECT_EQ(messages_->shown, (std::vector<std::string>{model::messages::kScriptSaved}));
    EXPECT_EQ(readBytes(script), crlfLines({
                                     "overlap=20",
                                     "audio=avisource(\"" + clipA() + "\")",
                                     "#-=-=-=-=-=-=-=-=-=angle A=-=-=-=-=-=-=-=-=-=-=-",
                                     "angleA=avisource(\"" + clipA() + "\").killaudio().trim(0,0)",
                                     "",
                                     "A0=angleA.trim(0,300)",
                                     "A1=angleA.trim(281,500)",
                                     "A2=angleA.trim(481,0)",
                                     "#-=-=-=-=-=-=-=-=-=angle B=-=-=-=-=-=-=-=-=-=-=-",
                                     "angleB=avisource(\"" + clipB() + "\").killaudio().trim(150,0)",
                                     "",
                                     "B0=angleB.trim(0,300)",
                                     "B1=angleB.trim(281,500)",
                                     "B2=angleB.trim(481,0)",
                                     "#-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=",
                                     "video=dissolve(A0, B1, A2, overlap)",
                                     "audiodub(video,audio)",
                                     "fadein(overlap)",
                                     "",
                                 }));
}

}  // namespace
}  // namespace vistrel::ui::testing
