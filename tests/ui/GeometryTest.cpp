// Both windows against their layout tables: sizes, places, captions, the
// order the controls lie in, the tab order and the icon.

#include <QApplication>
#include <algorithm>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSlider>

#include "ui/WindowTestKit.h"

namespace vistrel::ui::testing {
namespace {

struct Placement {
    const char* name;
    QRect pixels;
};

// The main window's controls, front to back, in device-independent pixels.
const std::vector<Placement> mainControls{
    {"Check2", {88, 296, 81, 17}},    {"Slider1", {336, 208, 145, 17}}, {"List3", {152, 224, 49, 56}},
    {"Command2", {8, 176, 89, 25}},   {"List2", {8, 224, 145, 56}},     {"List1", {600, 160, 105, 147}},
    {"Text2", {552, 176, 41, 19}},    {"Text3", {552, 288, 41, 19}},    {"Command7", {432, 152, 57, 17}},
    {"Command6", {344, 152, 57, 17}}, {"Command5", {256, 152, 57, 17}}, {"Command4", {168, 152, 57, 17}},
    {"Command3", {384, 280, 81, 33}}, {"Command1", {208, 272, 57, 17}}, {"Frame2", {328, 192, 161, 41}},
    {"Frame3", {544, 160, 57, 41}},   {"Frame5", {152, 208, 57, 81}},   {"Frame4", {0, 208, 209, 81}},
    {"PlayerWnd1", {8, 8, 704, 146}}, {"Check1", {16, 296, 81, 17}},    {"Frame1", {544, 272, 57, 41}},
};

// Presses Tab on whatever has the focus, steps times; the names focused.
std::vector<std::string> tabWalk(int steps) {
    std::vector<std::string> names;
    for (int i = 0; i < steps; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        names.push_back(focus ? focus->objectName().toStdString() : "(none)");
    }
    return names;
}

// Direct child widgets, back to front.
std::vector<std::string> stackingOrder(const QWidget& window) {
    std::vector<std::string> names;
    for (QObject* child : window.children())
        if (child->isWidgetType()) names.push_back(child->objectName().toStdString());
    return names;
}

std::ptrdiff_t positionOf(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) - names.begin();
}

class MainWindowLayout : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        createWindow();
    }
};

TEST_F(MainWindowLayout, ClientAreaAndCaption) {
    EXPECT_EQ(window().clientArea().size(), QSize(717, 316));
    // The menu bar lies above the client area; the window grows by its height.
    const QRect bar = window().menu().bar->geometry();
    EXPECT_EQ(bar.bottom() + 1, window().clientArea().y());
    EXPECT_EQ(window().size(), QSize(717, 316 + bar.height()));
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Vistrel"));
    EXPECT_EQ(window().objectName(), QStringLiteral("main"));
}

TEST_F(MainWindowLayout, EveryControlAtItsPlace) {
    for (const auto& [name, pixels] : mainControls) {
        SCOPED_TRACE(name);
        auto& widget = control<QWidget>(name);
        EXPECT_EQ(widget.geometry(), pixels);
        EXPECT_EQ(widget.parentWidget(), &window().clientArea())
            << "every control is a direct child of the client area";
    }
}

TEST_F(MainWindowLayout, CaptionsAsWritten) {
    EXPECT_EQ(button("Command1").text(), QStringLiteral("preview"));
    EXPECT_EQ(button("Command2").text(), QStringLiteral("load video clips"));
    EXPECT_EQ(button("Command3").text(), QStringLiteral("build script"));
    EXPECT_EQ(button("Command4").text(), QStringLiteral("A"));
    EXPECT_EQ(button("Command5").text(), QStringLiteral("B"));
    EXPECT_EQ(button("Command6").text(), QStringLiteral("C"));
    EXPECT_EQ(button("Command7").text(), QStringLiteral("D"));
    EXPECT_EQ(control<QCheckBox>("Check1").text(), QStringLiteral("fade in"));
    EXPECT_EQ(control<QCheckBox>("Check2").text(), QStringLiteral("fade out"));
    EXPECT_EQ(control<QGroupBox>("Frame1").title(), QStringLiteral("overlap"));
    EXPECT_EQ(control<QGroupBox>("Frame2").title(), QStringLiteral("playback rate"));
    EXPECT_EQ(control<QGroupBox>("Frame3").title(), QStringLiteral("index"));
    EXPECT_EQ(control<QGroupBox>("Frame4").title(), QStringLiteral("file list"));
    EXPECT_EQ(control<QGroupBox>("Frame5").title(), QStringLiteral("offset"));
}

TEST_F(MainWindowLayout, FramesLieBehindTheControlsTheySurround) {
    const auto order = stackingOrder(window().clientArea());
    const std::vector<std::string> frames{"Frame1", "Frame2", "Frame3", "Frame4", "Frame5"};
    for (const auto& [name, pixels] : mainControls) {
        if (std::string(name).rfind("Frame", 0) == 0) continue;
        for (const auto& frame : frames)
            EXPECT_LT(positionOf(order, frame), positionOf(order, name)) << frame << " should lie behind " << name;
    }
    EXPECT_GT(positionOf(order, "Frame5"), positionOf(order, "Frame4")) << "\"offset\" lies in front of \"file list\"";
}

TEST_F(MainWindowLayout, ControlsLieInTheTableOrder) {
    const auto order = stackingOrder(window().clientArea());
    std::ptrdiff_t inFront = static_cast<std::ptrdiff_t>(order.size());
    for (const auto& [name, pixels] : mainControls) {
        if (std::string(name).rfind("Frame", 0) == 0) continue;
        const auto position = positionOf(order, name);
        EXPECT_LT(position, inFront) << name << " should lie behind the control listed before it";
        inFront = position;
    }
}

TEST_F(MainWindowLayout, TabOrderFollowsTheTable) {
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    ASSERT_EQ(QApplication::focusWidget(), &button("Command1"));
    const std::vector<std::string> expected{"Command3",   "Command4", "Command5", "Command6", "Command7", "Text3",
                                            "Text2",      "List1",    "List2",    "Command2", "List3",    "Slider1",
                                            "PlayerWnd1", "Check1",   "Check2",   "Command1"};
    EXPECT_EQ(tabWalk(static_cast<int>(expected.size())), expected);
}

TEST_F(MainWindowLayout, SwitchListIsLightGrey) {
    EXPECT_EQ(list("List1").palette().color(QPalette::Base), QColor(192, 192, 192));
    EXPECT_NE(list("List2").palette().color(QPalette::Base), QColor(192, 192, 192));
}

TEST_F(MainWindowLayout, RateSliderRunsFromStillToDoubleSpeed) {
    auto& slider = control<QSlider>("Slider1");
    EXPECT_EQ(slider.orientation(), Qt::Horizontal);
    EXPECT_EQ(slider.minimum(), 0);
    EXPECT_EQ(slider.maximum(), 2000);
    EXPECT_EQ(slider.value(), 1000);
}

TEST_F(MainWindowLayout, WindowIconIsThirtyTwoPixelsSquare) {
    const QIcon icon = window().windowIcon();
    ASSERT_FALSE(icon.isNull()) << "the icon resource is missing from the program";
    EXPECT_EQ(icon.pixmap(QSize(32, 32)).size(), QSize(32, 32));
}

// ---- The start-point dialog ----

class StartPointDialogLayout : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        createWindow();
        doubleClick(*list("List3").viewport(), {5, 5});
        dialog_ = window().startPointDialog();
        ASSERT_NE(dialog_, nullptr);
    }
    template <typename T>
    T& dialogControl(const char* name) {
        T* found = dialog_->findChild<T*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
        if (!found) throw std::runtime_error(std::string("no dialog control ") + name);
        return *found;
    }
    StartPointDialog* dialog_ = nullptr;
};

TEST_F(StartPointDialogLayout, ClientAreaCaptionAndPlaces) {
    EXPECT_EQ(dialog_->size(), QSize(340, 295));
    EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("set beginning pont for clip"));
    EXPECT_EQ(dialog_->objectName(), QStringLiteral("offset"));
    EXPECT_EQ(dialogControl<player::PlayerWnd>("PlayerWnd1").geometry(), QRect(0, 0, 337, 257));
    EXPECT_EQ(dialogControl<QPushButton>("Command1").geometry(), QRect(208, 272, 33, 17));
    EXPECT_EQ(dialogControl<QLineEdit>("Text1").geometry(), QRect(72, 264, 73, 25));
    EXPECT_EQ(dialogControl<QLabel>("Label1").geometry(), QRect(152, 272, 49, 17));
    EXPECT_EQ(dialogControl<QPushButton>("Command1").text(), QStringLiteral("OK"));
    EXPECT_EQ(dialogControl<QLabel>("Label1").text(), QStringLiteral("jump to:"));
}

TEST_F(StartPointDialogLayout, HasNoOwnerAndIsModeless) {
    EXPECT_TRUE(dialog_->isWindow());
    EXPECT_EQ(dialog_->parentWidget(), nullptr);
    EXPECT_FALSE(dialog_->isModal());
}

TEST_F(StartPointDialogLayout, TabOrderStartsAtTheTextBox) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_));
    ASSERT_EQ(QApplication::focusWidget(), &dialogControl<QLineEdit>("Text1"));
    const std::vector<std::string> expected{"Command1", "PlayerWnd1", "Text1"};
    EXPECT_EQ(tabWalk(3), expected);
}

TEST_F(StartPointDialogLayout, SharesTheMainWindowIcon) {
    const QImage dialogIcon = dialog_->windowIcon().pixmap(QSize(32, 32)).toImage();
    const QImage mainIcon = window().windowIcon().pixmap(QSize(32, 32)).toImage();
    ASSERT_FALSE(dialogIcon.isNull());
    EXPECT_EQ(dialogIcon, mainIcon);
}

}  // namespace
}  // namespace vistrel::ui::testing
