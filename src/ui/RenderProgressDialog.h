#pragma once
// The progress of a render started from the main window: frames done, frames
// per second and the time left, with a Cancel that stops the render and
// removes its partial file. The dialog is not modal, so the window goes on
// answering while the render runs. At the end it closes and a message box
// says where the video is, or why the render failed. It deletes itself
// when it closes. It holds the script it renders, written for this render
// alone, and removes it as soon as the render ends, is cancelled or is
// abandoned.

#include "model/Ports.h"
#include "model/ScriptFile.h"
#include "ui/RenderProcess.h"

#include <QElapsedTimer>
#include <QProgressDialog>

#include <memory>

namespace vistrel::ui {

class RenderProgressDialog : public QProgressDialog {
    Q_OBJECT
public:
    // Starts rendering script to output.
    RenderProgressDialog(QWidget& window, std::unique_ptr<model::TemporaryScriptFile> script, const QString& output,
                         model::MessageSink& messages);

    // The window is going away: the render stops without a message.
    void abandon();

private:
    void showIndexing(qint64 done, qint64 total);
    void showFrames(qint64 done, qint64 total);
    void end(bool rendered, const QString& error);
    // Stops the process if it still runs and removes the script.
    void stopRendering();

    // The render stops (process_) before its script goes.
    std::unique_ptr<model::TemporaryScriptFile> script_;
    QString output_;
    model::MessageSink* messages_;
    RenderProcess process_;
    QElapsedTimer clock_;  // from the first frame rendered
    qint64 firstFrames_ = -1;
    bool ended_ = false;
};

// What the progress dialogs of the window's background jobs share: not
// modal, deleted on close, kept open at 100 % until the job ends, shown at
// once, a width for two lines of figures.
void setUpBackgroundProgress(QProgressDialog& dialog, const QString& title);

// "Frame 120 of 500 · 85.2 frames per second · 0:05 left": framesPerSecond
// below 0 means not measured yet.
QString renderFigures(qint64 done, qint64 total, double framesPerSecond);

}  // namespace vistrel::ui
