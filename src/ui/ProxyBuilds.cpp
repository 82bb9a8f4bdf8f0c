#include "ui/ProxyBuilds.h"

#include "ui/RenderProcess.h"

#include <QAbstractItemModel>
#include <QFileInfo>
#include <QMenuBar>

namespace vistrel::ui {
namespace {

bool isScript(const QString& clip) { return clip.endsWith(QStringLiteral(".avs"), Qt::CaseInsensitive); }

}  // namespace

ProxyBuilds::ProxyBuilds(QObject* parent) : QObject(parent) {}

ProxyBuilds::~ProxyBuilds() {
    if (build_) build_->disconnect(this);
}

void ProxyBuilds::follow(const QAbstractItemModel& clipList) {
    connect(&clipList, &QAbstractItemModel::rowsInserted, this,
            [this, &clipList](const QModelIndex& parent, int first, int last) {
                for (int row = first; row <= last; ++row) add(clipList.index(row, 0, parent).data().toString());
            });
}

void ProxyBuilds::add(const QString& clip) {
    if (clip.isEmpty() || isScript(clip) || seen_.contains(clip)) return;
    seen_.append(clip);
    queued_.append(clip);
    if (!build_) startNext();
}

void ProxyBuilds::startNext() {
    current_ = queued_.takeFirst();
    build_ = RenderProcess::proxyBuild(current_, this);
    connect(build_, &RenderProcess::indexed, this,
            [this](qint64 done, qint64 total) { showProgress(true, done, total); });
    connect(build_, &RenderProcess::progressed, this,
            [this](qint64 done, qint64 total) { showProgress(false, done, total); });
    connect(build_, &RenderProcess::finished, this, &ProxyBuilds::finished);
    showProgress(false, 0, 1);
    build_->start();
}

void ProxyBuilds::showProgress(bool indexing, qint64 done, qint64 total) {
    const QString clip = QFileInfo(current_).fileName();
    const qint64 percent = total > 0 ? done * 100 / total : 0;
    QString text =
        indexing ? tr("proxy: %1 indexing %2%").arg(clip).arg(percent) : tr("proxy: %1 %2%").arg(clip).arg(percent);
    if (!queued_.isEmpty()) text += tr(" (%1 more)").arg(queued_.size());
    setStatus(text);
}

void ProxyBuilds::finished(bool built, const QString& error) {
    if (!built) {
        failed_.append(QFileInfo(current_).fileName());
        failures_ += (failures_.isEmpty() ? QString() : QStringLiteral("\n")) + error;
    }
    build_->deleteLater();
    build_ = nullptr;
    current_.clear();
    if (!queued_.isEmpty()) {
        startNext();
        return;
    }
    setStatus(failed_.isEmpty() ? tr("proxies ready") : tr("no proxy: %1").arg(failed_.join(QStringLiteral(", "))));
}

void ProxyBuilds::setStatus(const QString& status) {
    if (status == status_) return;
    status_ = status;
    emit statusChanged(status_);
}

QLabel* showProxyStatus(ProxyBuilds& builds, QMenuBar& menuBar) {
    // A menu bar lays out its corner once: the label keeps one width, and a
    // long clip name gives up its middle (the tool tip has it whole).
    constexpr int kStatusWidth = 330;
    constexpr int kMargin = 6;
    auto* label = new QLabel(&menuBar);
    label->setObjectName(QStringLiteral("proxyStatus"));
    label->setContentsMargins(0, 0, kMargin, 0);
    label->setFixedWidth(kStatusWidth);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QObject::connect(&builds, &ProxyBuilds::statusChanged, label, [label, &builds](const QString& status) {
        label->setText(label->fontMetrics().elidedText(status, Qt::ElideMiddle, kStatusWidth - 2 * kMargin));
        const QString failures = builds.failures();
        label->setToolTip(failures.isEmpty() ? status : status + QStringLiteral("\n") + failures);
    });
    menuBar.setCornerWidget(label, Qt::TopRightCorner);
    return label;
}

}  // namespace vistrel::ui
