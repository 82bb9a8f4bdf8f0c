#include "ui/RenderProcess.h"

#include <QFile>
#include <QRegularExpression>

namespace vistrel::ui {

RenderProcess::RenderProcess(const QStringList& arguments, const QString& output, QObject* parent)
    : QObject(parent), output_(output), process_(QStringLiteral("vistrel-render"), arguments) {
    connect(&process_, &ProgramProcess::lineRead, this, &RenderProcess::readLine);
    connect(&process_, &ProgramProcess::finished, this, &RenderProcess::ended);
}

RenderProcess::RenderProcess(const QString& script, const QString& output, QObject* parent)
    : RenderProcess(QStringList{script, QStringLiteral("-o"), output, QStringLiteral("--progress-lines")}, output,
                    parent) {}

RenderProcess* RenderProcess::proxyBuild(const QString& clip, QObject* parent) {
    auto* build =
        new RenderProcess(QStringList{QStringLiteral("--proxy"), clip, QStringLiteral("--progress-lines")}, {}, parent);
    // A background build may take any core that playing leaves idle, and only those.
    build->process_.setLowPriority();
    return build;
}

RenderProcess::~RenderProcess() { cancel(); }

void RenderProcess::cancel() {
    if (!isRunning()) return;
    process_.stop();
    removePartial();
}

void RenderProcess::readLine(const QString& line) {
    static const QRegularExpression count(QStringLiteral("^(frame|indexing) (\\d+) of (\\d+)$"));
    if (line.startsWith(QStringLiteral("writing "))) {
        partial_ = line.mid(8);
        return;
    }
    const auto match = count.match(line);
    if (!match.hasMatch()) return;
    const qint64 done = match.captured(2).toLongLong();
    const qint64 total = match.captured(3).toLongLong();
    if (match.captured(1) == QStringLiteral("frame"))
        emit progressed(done, total);
    else
        emit indexed(done, total);
}

void RenderProcess::ended(bool rendered, const QString& error) {
    if (!rendered) removePartial();
    emit finished(rendered, error);
}

void RenderProcess::removePartial() {
    if (!partial_.isEmpty() && partial_ != output_) QFile::remove(partial_);
}

}  // namespace vistrel::ui
