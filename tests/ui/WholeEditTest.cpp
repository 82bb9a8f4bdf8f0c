// One edit from start to end, the way a user makes it: two clips loaded, the
// second one's start frame found in the start-point dialog, the preview
// stepped to two switch points with the player's keys, the angles marked,
// the script built and compared byte for byte.

#include "model/Messages.h"
#include "model/Scripts.h"
#include "ui/WindowTestKit.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>

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

// Four clips chosen at once, the wide one fitted into angle A's size, cuts
// made on the preview, a clip removed by mistake and brought back with
// Ctrl+Z, redone and undone again, saved under the name the edit has.
TEST_F(WholeEdit, FourClipsAtOnceOneFittedACutUndoneAndRedoneSavedUnderItsName) {
    std::string reason;
    test::MediaRecipe wideRecipe = angleClipRecipe("ui-angle-wide", 600);
    wideRecipe.width = 640;
    wideRecipe.height = 360;
    const auto wide = test::testMedia(wideRecipe, &reason);
    const auto third = generatedClips({"ui-angle-c"}, reason);
    if (!wide || third.empty()) GTEST_SKIP() << reason;
    const std::string widePath = std::filesystem::absolute(*wide).string();
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));

    openDialog_->severalAnswers.push_back({clipA(), clipB(), third[0].string(), widePath});
    questions_->answers = {model::questions::yes};
    click("Command2");
    ASSERT_EQ(questions_->asked.size(), 1u);
    EXPECT_NE(
        questions_->asked[0].find("Angle D (" + wide->filename().string() + ") is 640x360, but angle A is 320x240"),
        std::string::npos)
        << questions_->asked[0];
    const std::string fitted = scriptFolder() + "/conformed/" + wide->stem().string() + "-320x240.avs";
    EXPECT_EQ(edit().clips().entries(), (std::vector<std::string>{clipA(), clipB(), third[0].string(), fitted}));
    EXPECT_EQ(readBytes(fitted),
              crlfLines({"AddBorders(BilinearResize(avisource(\"" + widePath + "\"), 320, 180), 0, 30, 0, 30)"}));

    click("Command1");
    ASSERT_TRUE(waitUntilOpened(player()) && player().isOpen()) << player().errorMessage().toStdString();
    pressOnPlayer(Qt::Key_Left);
    pressOnPlayer(Qt::Key_Home);
    for (const char* angle : {"Command7", "Command5"}) {
        pressOnPlayer(Qt::Key_PageDown, 10);
        ASSERT_TRUE(waitUntilShown(player()));
        click(angle);
    }
    const std::string script = scriptFolder() + "/cut.avs";
    saveDialog_->answers.push_back(script);
    click("Command3");
    const std::string saved = readBytes(script);

    clickRow(list("List2"), 1);
    doubleClickRow(list("List2"), 1);
    ASSERT_EQ(edit().clips().count(), 3);
    EXPECT_EQ(window().menu().edit->actions().front()->text(), "Undo remove clip B");
    QTest::keyClick(&window(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(model::editScriptText(edit()), saved) << "the clip and its start frame back in place";
    QTest::keyClick(&window(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(edit().clips().count(), 3);
    QTest::keyClick(&window(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(&window(), Qt::Key_Z, Qt::ControlModifier);
    saveDialog_->answers.push_back(script);
    click("Command3");
    EXPECT_EQ(saveDialog_->startsAt, script) << "the save dialog starts with the edit's file";
    EXPECT_EQ(readBytes(script), saved);
    EXPECT_EQ(window().windowTitle().toStdString(), "cut.avs[*] \u2014 Vistrel");

    // Kept at its own size, the wide clip stops the edit preview with the sizes named.
    clickRow(list("List2"), 3);
    doubleClickRow(list("List2"), 3);
    openDialog_->answers.push_back(widePath);
    questions_->answers = {model::questions::no};
    click("Command2");
    messages_->shown.clear();
    QTest::keyClick(&window(), Qt::Key_F6);
    EXPECT_EQ(messages_->shown, std::vector<std::string>{"The angles differ in picture size: angle A is 320x240, "
                                                         "angle D is 640x360. The edit can only dissolve between "
                                                         "pictures of one size: remove the clip and load it again to "
                                                         "fit it into angle A's size."});
}

}  // namespace
}  // namespace vistrel::ui::testing
