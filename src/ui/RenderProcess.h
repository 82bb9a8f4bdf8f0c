#pragma once
// A render by vistrel-render in a process of its own (ProgramProcess). It
// runs with --progress-lines and reports on standard output, one line per
// update:
//   writing PATH       the partial file it has just created, under a name of
//                      its own in the output's folder
//   indexing N of M    reading a clip's index (bytes)
//   frame N of M       frames rendered
// It renames the partial file to the output only once the video is
// complete; a cancelled or failed render has its partial file removed here
// too, should the process have had no chance to do so itself.
//
// The same process builds a clip's preview proxy (--proxy), at the lowest
// priority; its partial proxy is kept when it stops, to be gone on with.

#include "ui/ProgramProcess.h"

#include <QObject>
#include <QString>

namespace vistrel::ui {

class RenderProcess : public QObject {
    Q_OBJECT
public:
    RenderProcess(const QString& script, const QString& output, QObject* parent = nullptr);
    // The build of clip's preview proxy.
    static RenderProcess* proxyBuild(const QString& clip, QObject* parent);
    // A render still running is cancelled.
    ~RenderProcess() override;

    void start() { process_.start(); }
    // Stops the process and removes the partial file; finished is not sent.
    void cancel();
    bool isRunning() const { return process_.isRunning(); }

signals:
    void indexed(qint64 done, qint64 total);
    void progressed(qint64 done, qint64 total);
    // rendered: the output is complete. Otherwise error is the render's own
    // message (or why the program could not run).
    void finished(bool rendered, const QString& error);

private:
    RenderProcess(const QStringList& arguments, const QString& output, QObject* parent);
    void readLine(const QString& line);
    void ended(bool rendered, const QString& error);
    void removePartial();

    QString output_;
    QString partial_;
    ProgramProcess process_;
};

}  // namespace vistrel::ui
