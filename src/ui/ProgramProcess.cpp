#include "ui/ProgramProcess.h"

#include <QCoreApplication>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace vistrel::ui {
namespace {

void lowerPriority(QProcess& process) {
#if defined(Q_OS_UNIX)
    process.setChildProcessModifier([] { setpriority(PRIO_PROCESS, 0, 19); });
#elif defined(Q_OS_WIN)
    process.setCreateProcessArgumentsModifier(
        [](QProcess::CreateProcessArguments* args) { args->flags |= IDLE_PRIORITY_CLASS; });
#endif
}

}  // namespace

ProgramProcess::ProgramProcess(QString program, QStringList arguments, QObject* parent)
    : QObject(parent), program_(std::move(program)), arguments_(std::move(arguments)) {
    connect(&process_, &QProcess::readyReadStandardOutput, this, &ProgramProcess::readLines);
    connect(&process_, &QProcess::finished, this, &ProgramProcess::ended);
    connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            emit finished(false, tr("%1 could not be started: %2").arg(programPath(program_), process_.errorString()));
    });
}

ProgramProcess::~ProgramProcess() { stop(); }

QString ProgramProcess::programPath(const QString& program) {
    const QString dir = QCoreApplication::applicationDirPath();
    const QString found = QStandardPaths::findExecutable(program, {dir});
    return found.isEmpty() ? dir + QLatin1Char('/') + program : found;
}

void ProgramProcess::start() {
    if (lowPriority_) lowerPriority(process_);
    process_.start(programPath(program_), arguments_);
}

void ProgramProcess::stop() {
    if (!isRunning()) return;
    process_.disconnect(this);
    process_.kill();
    process_.waitForFinished();
}

void ProgramProcess::readLines() {
    while (process_.canReadLine()) emit lineRead(QString::fromUtf8(process_.readLine()).trimmed());
}

void ProgramProcess::ended(int exitCode, QProcess::ExitStatus status) {
    readLines();
    if (process_.bytesAvailable() > 0) emit lineRead(QString::fromUtf8(process_.readAll()).trimmed());
    if (status == QProcess::NormalExit && exitCode == 0) {
        emit finished(true, {});
        return;
    }
    QString error = QString::fromUtf8(process_.readAllStandardError()).trimmed();
    if (status == QProcess::CrashExit)
        error =
            tr("%1 stopped unexpectedly.").arg(program_) + (error.isEmpty() ? QString() : QLatin1Char('\n') + error);
    else if (error.isEmpty())
        error = tr("%1 stopped with status %2.").arg(program_).arg(exitCode);
    emit finished(false, error);
}

}  // namespace vistrel::ui
