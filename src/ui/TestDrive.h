#pragma once
// A hook for tests that work a real vistrel process, active only when the
// environment variable VISTREL_TEST_DRIVE is set (Unix only). It reads
// commands from standard input, one a line, does what a user would do, and
// answers "ok" (or "error <why>") on standard output:
//   click NAME   clicks the main window's button or check box NAME
//   menu TEXT    chooses the menu entry TEXT
//   answer TEXT  waits for a modal dialog: a file dialog chooses the path
//                TEXT, a message box is answered with its button TEXT
//   edit         prints the edit's script, "points", its switch points and
//                "end" (instead of "ok")
// A click or menu entry is answered at once and runs from the event loop, so
// that a dialog it opens can be answered next.

#include <QObject>
#include <QPointer>
#include <QSocketNotifier>
#include <QStringList>

#include <memory>

namespace vistrel::ui {

class MainWindow;

class TestDrive : public QObject {
    Q_OBJECT
public:
    // The hook when VISTREL_TEST_DRIVE is set; null otherwise.
    static std::unique_ptr<TestDrive> fromEnvironment();
    TestDrive();
    void setWindow(MainWindow& window) { window_ = &window; }

private:
    void readInput();
    void runNext();
    bool run(const QString& command, const QString& argument);
    QObject* target(const QString& command, const QString& argument) const;
    static void reply(const QString& text);

    std::unique_ptr<QSocketNotifier> input_;
    QByteArray pending_;
    QStringList commands_;
    QPointer<MainWindow> window_;
};

}  // namespace vistrel::ui
