#pragma once
// The preview proxies of the clips the user loads, built in the background:
// one clip at a time, each by a `vistrel-render --proxy` process of its own
// at the lowest priority, so that a decoder that crashes on a damaged file
// takes down only that process and playing in the editor keeps the cores it
// needs. A build that is stopped (the window closed) goes on where it stopped
// the next time the clip is loaded. The progress is a short text for the
// window to show: "proxy: camera2.mp4 42%", "proxies ready".

#include <QLabel>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

class QAbstractItemModel;
class QMenuBar;

namespace vistrel::ui {

class ProxyBuilds : public QObject {
    Q_OBJECT
public:
    // builder: the vistrel-render program.
    ProxyBuilds(QString builder, QObject* parent);
    ~ProxyBuilds() override;

    // Builds the proxy of every clip that is inserted into the list's model
    // from now on.
    void follow(const QAbstractItemModel& clipList);
    // Queues one clip; a script or a clip queued already is left out.
    void add(const QString& clip);

    const QString& status() const { return status_; }
    // Why the clips named in a "no proxy" status got none, one line each.
    const QString& failures() const { return failures_; }
    bool busy() const { return process_ != nullptr; }

signals:
    void statusChanged(const QString& status);

private:
    void startNext();
    void readProgress();
    void finished(int exitCode, QProcess::ExitStatus exitStatus);
    void showProgress(bool indexing, qint64 percent);
    void setStatus(const QString& status);

    QString builder_;
    QStringList queued_;
    QStringList seen_;
    QString current_;
    QProcess* process_ = nullptr;
    QString errorText_;  // of the build in progress
    QStringList failed_;
    QString failures_;
    QString status_;
};

// The label in the menu bar's right corner that shows the builds' status
// (with the reason of a failed build as its tool tip); it moves no control
// of the client area.
QLabel* showProxyStatus(ProxyBuilds& builds, QMenuBar& menuBar);

}  // namespace vistrel::ui
