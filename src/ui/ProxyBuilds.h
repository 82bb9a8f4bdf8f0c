#pragma once
// The preview proxies of the clips the user loads, built in the background:
// one clip at a time, each by a `vistrel-render --proxy` process of its own
// (RenderProcess) at the lowest priority, so that a decoder that crashes on
// a damaged file takes down only that process and playing in the editor
// keeps the cores it needs. A build that is stopped (the window closed) goes
// on where it stopped the next time the clip is loaded. The progress is a
// short text for the window to show: "proxy: camera2.mp4 42%", "proxies
// ready", "no proxy: camera3.avi" (with the reason in failures()).

#include <QLabel>
#include <QObject>
#include <QString>
#include <QStringList>

class QAbstractItemModel;
class QMenuBar;

namespace vistrel::ui {

class RenderProcess;

class ProxyBuilds : public QObject {
    Q_OBJECT
public:
    explicit ProxyBuilds(QObject* parent);
    // A build in progress is stopped; what it coded is kept for the next one.
    ~ProxyBuilds() override;

    // Builds the proxy of every clip that is inserted into the list's model
    // from now on.
    void follow(const QAbstractItemModel& clipList);
    // Queues one clip; a script, or a clip queued already, is left out.
    void add(const QString& clip);

    const QString& status() const { return status_; }
    // Why the clips named in a "no proxy" status got none, one line each.
    const QString& failures() const { return failures_; }
    bool busy() const { return build_ != nullptr; }

signals:
    void statusChanged(const QString& status);

private:
    void startNext();
    void showProgress(bool indexing, qint64 done, qint64 total);
    void finished(bool built, const QString& error);
    void setStatus(const QString& status);

    QStringList queued_;
    QStringList seen_;
    QString current_;
    RenderProcess* build_ = nullptr;  // child
    QStringList failed_;
    QString failures_;
    QString status_;
};

// The label in the menu bar's right corner that shows the builds' status
// (with the reasons of failed builds as its tool tip); it moves no control
// of the client area.
QLabel* showProxyStatus(ProxyBuilds& builds, QMenuBar& menuBar);

}  // namespace vistrel::ui
