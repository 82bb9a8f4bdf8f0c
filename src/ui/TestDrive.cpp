#include "ui/TestDrive.h"

#include "model/Scripts.h"
#include "ui/MainWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace vistrel::ui {

std::unique_ptr<TestDrive> TestDrive::fromEnvironment() {
#ifdef Q_OS_UNIX
    if (qEnvironmentVariableIsSet("VISTREL_TEST_DRIVE")) return std::make_unique<TestDrive>();
#endif
    return nullptr;
}

TestDrive::TestDrive() {
#ifdef Q_OS_UNIX
    input_ = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
    connect(input_.get(), &QSocketNotifier::activated, this, &TestDrive::readInput);
#endif
}

void TestDrive::readInput() {
#ifdef Q_OS_UNIX
    char buffer[4096];
    const auto got = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (got <= 0) {
        input_->setEnabled(false);
        return;
    }
    pending_.append(buffer, got);
    for (auto end = pending_.indexOf('\n'); end >= 0; end = pending_.indexOf('\n')) {
        commands_ << QString::fromUtf8(pending_.left(end));
        pending_.remove(0, end + 1);
    }
    runNext();
#endif
}

// One command at a time; one that has to wait for its dialog tries again.
void TestDrive::runNext() {
    if (commands_.isEmpty()) return;
    const QString command = commands_.first().section(' ', 0, 0);
    const QString argument = commands_.first().section(' ', 1);
    if (!run(command, argument)) {
        QTimer::singleShot(20, this, &TestDrive::runNext);
        return;
    }
    commands_.removeFirst();
    QTimer::singleShot(0, this, &TestDrive::runNext);
}

// False when the command has to wait: for the window, or for a dialog.
bool TestDrive::run(const QString& command, const QString& argument) {
    if (command == "answer" ? !QApplication::activeModalWidget() : !window_) return false;
    if (command == "edit") {
        const model::Edit& edit = window_->edit();
        std::printf("%s", QString::fromStdString(model::editScriptText(edit)).remove('\r').toUtf8().constData());
        std::printf("points\n");
        for (const auto& entry : edit.switchPoints().entries()) std::printf("%s\n", entry.c_str());
        reply("end");
        return true;
    }
    QObject* found = target(command, argument);
    if (!found) {
        reply("error nothing to " + command + " " + argument);
        return true;
    }
    reply("ok");
    if (auto* files = qobject_cast<QFileDialog*>(found)) {
        files->selectFile(argument);
        // selectFile leaves the name box alone while it has the focus, as it does on a real display.
        if (auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) name->setText(argument);
    }
    const char* method = qobject_cast<QAction*>(found) ? "trigger" : qobject_cast<QDialog*>(found) ? "accept" : "click";
    QMetaObject::invokeMethod(found, method, Qt::QueuedConnection);
    return true;
}

// What the command clicks, triggers or accepts.
QObject* TestDrive::target(const QString& command, const QString& argument) const {
    if (command == "click") return window_->clientArea().findChild<QAbstractButton*>(argument);
    if (command == "menu") {
        for (QAction* action : window_->findChildren<QAction*>())
            if (action->text() == argument) return action;
    }
    if (command != "answer") return nullptr;
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        for (QAbstractButton* button : box->buttons())
            if (button->text() == argument) return button;
        return nullptr;
    }
    return qobject_cast<QFileDialog*>(modal);
}

void TestDrive::reply(const QString& text) {
    std::printf("%s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

}  // namespace vistrel::ui
