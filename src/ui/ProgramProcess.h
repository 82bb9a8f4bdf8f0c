#pragma once
// One of Vistrel's command-line programs (vistrel-render, vistrel-sync) run
// in a process of its own, so that a fault in its work (a decoder crashing on
// a damaged file) cannot take the editor down, and the window goes on
// answering. The program is the one installed beside the running
// executable. What it prints on standard output arrives line by line; at
// the end comes whether it succeeded, and if not, the message it printed on
// standard error, or why it stopped or could not start.

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace vistrel::ui {

class ProgramProcess : public QObject {
    Q_OBJECT
public:
    ProgramProcess(QString program, QStringList arguments, QObject* parent = nullptr);
    // A program still running is stopped.
    ~ProgramProcess() override;

    // The program of that name beside the running executable.
    static QString programPath(const QString& program);

    // Before start: the program takes only the cores that the editor leaves idle.
    void setLowPriority() { lowPriority_ = true; }
    void start();
    // Kills the program and waits for it to end; finished is not sent.
    void stop();
    bool isRunning() const { return process_.state() != QProcess::NotRunning; }

signals:
    void lineRead(const QString& line);  // without its line break
    void finished(bool succeeded, const QString& error);

private:
    void readLines();
    void ended(int exitCode, QProcess::ExitStatus status);

    QString program_;
    QStringList arguments_;
    bool lowPriority_ = false;
    QProcess process_;
};

}  // namespace vistrel::ui
