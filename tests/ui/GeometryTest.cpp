// Both windows against their layout files (tests/ui/layouts): every
// control's place, caption and stacking, the tab order and the captions of
// the windows, described as text and compared whole. Where a layout is
// changed on purpose, VISTREL_UPDATE_LAYOUTS=1 rewrites the files.

#include "ui/WindowTestKit.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSlider>
#include <QTextStream>

namespace vistrel::ui::testing {
namespace {

// What a control shows of itself: its caption, or a slider's range.
QString captionOf(const QWidget& widget) {
    if (auto* button = qobject_cast<const QAbstractButton*>(&widget)) return button->text();
    if (auto* frame = qobject_cast<const QGroupBox*>(&widget)) return frame->title();
    if (auto* label = qobject_cast<const QLabel*>(&widget)) return label->text();
    if (auto* text = qobject_cast<const QLineEdit*>(&widget)) return text->text();
    if (auto* slider = qobject_cast<const QSlider*>(&widget))
        return QString("%1..%2 at %3%4")
            .arg(slider->minimum())
            .arg(slider->maximum())
            .arg(slider->value())
            .arg(slider->orientation() == Qt::Horizontal ? ", horizontal" : ", vertical");
    return {};
}

// Presses Tab on whatever has the focus until the focus comes back; the names focused.
QStringList tabWalk() {
    QStringList names;
    QWidget* start = QApplication::focusWidget();
    if (!start) return {"(no focus)"};
    names << start->objectName();
    for (int i = 0; i < 40; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        if (focus == start || !focus) break;
        names << focus->objectName();
    }
    return names;
}

// A window's layout as text: its title and size, then the direct children
// of its client area front to back with place and caption, then the tab order.
QString describeLayout(const QWidget& window, const QWidget& area, QSize areaSize) {
    QString text;
    QTextStream out(&text);
    out << "window " << window.objectName() << " \"" << window.windowTitle() << "\" client " << areaSize.width() << "x"
        << areaSize.height() << "\n";
    out << "controls, front to back:\n";
    const QObjectList children = area.children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        auto* widget = qobject_cast<QWidget*>(*it);
        if (!widget || widget->isWindow()) continue;
        const QRect r = widget->geometry();
        out << "  " << widget->objectName() << " " << widget->metaObject()->className() << " " << r.x() << "," << r.y()
            << " " << r.width() << "x" << r.height();
        const QString caption = captionOf(*widget);
        if (!caption.isEmpty()) out << " \"" << caption << "\"";
        out << "\n";
    }
    out << "tab order: " << tabWalk().join(" ") << "\n";
    return text;
}

// Compares with the layout file of that name, or rewrites it when asked.
void expectLayout(const QString& actual, const char* fileName) {
    const QString path = QStringLiteral(VISTREL_UI_LAYOUTS "/") + fileName;
    QFile file(path);
    if (qEnvironmentVariableIsSet("VISTREL_UPDATE_LAYOUTS")) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
        file.write(actual.toUtf8());
        return;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "missing layout file " << path.toStdString();
    EXPECT_EQ(actual.toStdString(), QString::fromUtf8(file.readAll()).toStdString())
        << "differs from " << path.toStdString();
}

class MainWindowLayout : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        createWindow();
    }
};

TEST_F(MainWindowLayout, MatchesItsLayoutFile) {
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    ASSERT_EQ(QApplication::focusWidget(), &button("Command1")) << "the focus starts on \"preview\"";
    expectLayout(describeLayout(window(), window().clientArea(), window().clientArea().size()), "main-window.txt");
}

TEST_F(MainWindowLayout, MenuBarAboveTheClientArea) {
    // The window grows by the menu bar's height; the client area keeps its size.
    const QRect bar = window().menu().bar->geometry();
    EXPECT_EQ(bar.bottom() + 1, window().clientArea().y());
    EXPECT_EQ(window().size(), QSize(717, 316 + bar.height()));
}

TEST_F(MainWindowLayout, SwitchListIsLightGrey) {
    EXPECT_EQ(list("List1").palette().color(QPalette::Base), QColor(192, 192, 192));
    EXPECT_NE(list("List2").palette().color(QPalette::Base), QColor(192, 192, 192));
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

TEST_F(StartPointDialogLayout, MatchesItsLayoutFile) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_));
    ASSERT_EQ(QApplication::focusWidget(), &dialogControl<QLineEdit>("Text1")) << "the focus starts on the text box";
    expectLayout(describeLayout(*dialog_, *dialog_, dialog_->size()), "start-point-dialog.txt");
}

TEST_F(StartPointDialogLayout, HasNoOwnerAndIsModeless) {
    EXPECT_TRUE(dialog_->isWindow());
    EXPECT_EQ(dialog_->parentWidget(), nullptr);
    EXPECT_FALSE(dialog_->isModal());
}

TEST_F(StartPointDialogLayout, SharesTheMainWindowIcon) {
    const QImage dialogIcon = dialog_->windowIcon().pixmap(QSize(32, 32)).toImage();
    const QImage mainIcon = window().windowIcon().pixmap(QSize(32, 32)).toImage();
    ASSERT_FALSE(dialogIcon.isNull());
    EXPECT_EQ(dialogIcon, mainIcon);
}

}  // namespace
}  // namespace vistrel::ui::testing
