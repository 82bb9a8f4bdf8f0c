#include "ui/RenderProcess.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace vistrel::ui {
namespace {

const QString programName = QStringLiteral("vistrel-render");

// A background build may take any core that playing leaves idle, and only those.
void lowerPriority(QProcess& process) {
#if defined(Q_OS_UNIX)
    process.setChildProcessModifier([] { setpriority(PRIO_PROCESS, 0, 19); });
#elif defined(Q_OS_WIN)
    process.setCreateProcessArgumentsModifier(
        [](QProcess::CreateProcessArguments* args) { args->flags |= IDLE_PRIORITY_CLASS; });
#endif
}

}  // namespace

RenderProcess::RenderProcess(const QString& script, const QString& output, QObject* parent)
    : QObject(parent),
      arguments_{script, QStringLiteral("-o"), output, QStringLiteral("--progress-lines")},
      script_(script),
      output_(output) {
    connect(&process_, &QProcess::readyReadStandardOutput, this, &RenderProcess::readLines);
    connect(&process_, &QProcess::finished, this, &RenderProcess::ended);
    connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) failedToStart();
    });
}

RenderProcess* RenderProcess::proxyBuild(const QString& clip, QObject* parent) {
    auto* build = new RenderProcess(clip, QString(), parent);
    build->arguments_ = {QStringLiteral("--proxy"), clip, QStringLiteral("--progress-lines")};
    build->lowPriority_ = true;
    return build;
}

RenderProcess::~RenderProcess() { cancel(); }

QString RenderProcess::programPath() {
    const QString dir = QCoreApplication::applicationDirPath();
    const QString found = QStandardPaths::findExecutable(programName, {dir});
    return found.isEmpty() ? dir + QLatin1Char('/') + programName : found;
}

void RenderProcess::start() {
    if (lowPriority_) lowerPriority(process_);
    process_.start(programPath(), arguments_);
}

void RenderProcess::cancel() {
    if (!isRunning()) return;
    process_.disconnect(this);
    process_.kill();
    process_.waitForFinished();
    removePartial();
}

void RenderProcess::readLines() {
    static const QRegularExpression count(QStringLiteral("^(frame|indexing) (\\d+) of (\\d+)$"));
    while (process_.canReadLine()) {
        const QString line = QString::fromUtf8(process_.readLine()).trimmed();
        if (line.startsWith(QStringLiteral("writing "))) {
            partial_ = line.mid(8);
            continue;
        }
        const auto match = count.match(line);
        if (!match.hasMatch()) continue;
        const qint64 done = match.captured(2).toLongLong();
        const qint64 total = match.captured(3).toLongLong();
        if (match.captured(1) == QStringLiteral("frame"))
            emit progressed(done, total);
        else
            emit indexed(done, total);
    }
}

void RenderProcess::ended(int exitCode, QProcess::ExitStatus status) {
    readLines();
    if (status == QProcess::NormalExit && exitCode == 0) {
        emit finished(true, {});
        return;
    }
    removePartial();
    QString error = QString::fromUtf8(process_.readAllStandardError()).trimmed();
    if (status == QProcess::CrashExit)
        error =
            tr("%1 stopped unexpectedly.").arg(programName) + (error.isEmpty() ? QString() : QLatin1Char('\n') + error);
    else if (error.isEmpty())
        error = tr("%1 stopped with status %2.").arg(programName).arg(exitCode);
    emit finished(false, error);
}

void RenderProcess::failedToStart() {
    emit finished(false, tr("%1 could not be started: %2").arg(programPath(), process_.errorString()));
}

void RenderProcess::removePartial() {
    if (!partial_.isEmpty() && partial_ != output_) QFile::remove(partial_);
}

}  // namespace vistrel::ui
