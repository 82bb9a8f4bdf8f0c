#include "ui/ProxyBuilds.h"

#include <QAbstractItemModel>
#include <QFileInfo>
#include <QMenuBar>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace vistrel::ui {
namespace {

constexpr int stopWaitMs = 2000;

// The builder runs at the lowest priority: it may take any core that playing leaves idle.
void lowerPriority(QProcess& process)
{
#if defined(Q_OS_UNIX)
    process.setChildProcessModifier([] { setpriority(PRIO_PROCESS, 0, 19); });
#elif defined(Q_OS_WIN)
    process.setCreateProcessArgumentsModifier(
        [](QProcess::CreateProcessArguments* args) { args->flags |= IDLE_PRIORITY_CLASS; });
#endif
}

bool isScript(const QString& clip)
{
    return clip.endsWith(QStringLiteral(".avs"), Qt::CaseInsensitive);
}

}  // namespace

ProxyBuilds::ProxyBuilds(QString builder, QObject* parent) : QObject(parent), builder_(std::move(builder)) {}

// A build in progress is stopped; what it coded is kept for the next one.
ProxyBuilds::~ProxyBuilds()
{
    if (!process_) return;
    process_->disconnect(this);
    process_->terminate();
    if (!process_->waitForFinished(stopWaitMs)) process_->kill();
    process_->waitForFinished(stopWaitMs);
}

void ProxyBuilds::follow(const QAbstractItemModel& clipList)
{
    connect(&clipList, &QAbstractItemModel::rowsInserted, this,
            [this, &clipList](const QModelIndex& parent, int first, int last) {
                for (int row = first; row <= last; ++row) add(clipList.index(row, 0, parent).data().toString());
            });
}

void ProxyBuilds::add(const QString& clip)
{
    if (clip.isEmpty() || isScript(clip) || seen_.contains(clip)) return;
    seen_.append(clip);
    queued_.append(clip);
    if (!process_) startNext();
}

void ProxyBuilds::startNext()
{
    if (queued_.isEmpty()) return;
    current_ = queued_.takeFirst();
    errorText_.clear();
    process_ = new QProcess(this);
    process_->setReadChannel(QProcess::StandardError);
    lowerPriority(*process_);
    connect(process_, &QProcess::readyReadStandardError, this, &ProxyBuilds::readProgress);
    connect(process_, &QProcess::finished, this, &ProxyBuilds::finished);
    showProgress(false, 0);
    process_->start(builder_, {QStringLiteral("--proxy"), current_, QStringLiteral("--progress-lines"),
                               QStringLiteral("-q")});
}

// Lines "proxy DONE TOTAL" (and "indexing DONE TOTAL" first, for a clip
// without an index); anything else is the reason of a failure.
void ProxyBuilds::readProgress()
{
    while (process_->canReadLine()) {
        const QString line = QString::fromUtf8(process_->readLine()).trimmed();
        const QStringList words = line.split(u' ');
        const qint64 total = words.size() == 3 ? words[2].toLongLong() : 0;
        if (total > 0 && (words[0] == u"proxy" || words[0] == u"indexing"))
            showProgress(words[0] == u"indexing", words[1].toLongLong() * 100 / total);
        else if (!line.isEmpty())
            errorText_ += (errorText_.isEmpty() ? QString() : QStringLiteral(" ")) + line;
    }
}

void ProxyBuilds::showProgress(bool indexing, qint64 percent)
{
    const QString clip = QFileInfo(current_).fileName();
    QString text = indexing ? tr("proxy: %1 indexing %2%").arg(clip).arg(percent) : tr("proxy: %1 %2%").arg(clip).arg(percent);
    if (!queued_.isEmpty()) text += tr(" (%1 more)").arg(queued_.size());
    setStatus(text);
}

void ProxyBuilds::finished(int exitCode, QProcess::ExitStatus exitStatus)
{
    readProgress();
    if (exitStatus != QProcess::NormalExit || exitCode != 0) {
        failed_.append(QFileInfo(current_).fileName());
        failures_ += (failures_.isEmpty() ? QString() : QStringLiteral("\n")) +
                     (errorText_.isEmpty() ? process_->errorString() : errorText_);
    }
    process_->deleteLater();
    process_ = nullptr;
    current_.clear();
    if (!queued_.isEmpty()) {
        startNext();
        return;
    }
    setStatus(failed_.isEmpty() ? tr("proxies ready") : tr("no proxy: %1").arg(failed_.join(QStringLiteral(", "))));
}

void ProxyBuilds::setStatus(const QString& status)
{
    if (status == status_) return;
    status_ = status;
    emit statusChanged(status_);
}

QLabel* showProxyStatus(ProxyBuilds& builds, QMenuBar& menuBar)
{
    auto* label = new QLabel(&menuBar);
    label->setObjectName(QStringLiteral("proxyStatus"));
    label->setContentsMargins(0, 0, 6, 0);
    QObject::connect(&builds, &ProxyBuilds::statusChanged, label, [label, &builds](const QString& status) {
        label->setText(status);
        label->setToolTip(builds.failures());
    });
    menuBar.setCornerWidget(label, Qt::TopRightCorner);
    return label;
}

}  // namespace vistrel::ui
