#include "ui/RenderProgressDialog.h"

#include "model/Messages.h"

#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <cmath>

namespace vistrel::ui {
namespace {

constexpr int kDialogWidth = 420;

QString duration(double seconds) {
    const auto whole = static_cast<qint64>(std::ceil(seconds));
    const qint64 hours = whole / 3600;
    const QString minutesAndSeconds =
        QStringLiteral("%1:%2").arg((whole / 60) % 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
    return hours > 0 ? QStringLiteral("%1:%2").arg(hours).arg(minutesAndSeconds.rightJustified(5, QLatin1Char('0')))
                     : minutesAndSeconds;
}

}  // namespace

void setUpBackgroundProgress(QProgressDialog& dialog, const QString& title) {
    dialog.setWindowTitle(title);
    dialog.setWindowModality(Qt::NonModal);
    dialog.setAttribute(Qt::WA_DeleteOnClose);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(0);
    dialog.setMinimumWidth(kDialogWidth);
}

QString renderFigures(qint64 done, qint64 total, double framesPerSecond) {
    QString text = QObject::tr("Frame %1 of %2").arg(done).arg(total);
    if (framesPerSecond > 0)
        text += QObject::tr(" · %1 frames per second · %2 left")
                    .arg(framesPerSecond, 0, 'f', 1)
                    .arg(duration(static_cast<double>(total - done) / framesPerSecond));
    return text;
}

RenderProgressDialog::RenderProgressDialog(QWidget& window, std::unique_ptr<model::TemporaryScriptFile> script,
                                           const QString& output, model::MessageSink& messages)
    : QProgressDialog(&window),
      script_(std::move(script)),
      output_(output),
      messages_(&messages),
      process_(QString::fromStdString(script_->path()), output) {
    setUpBackgroundProgress(*this, tr("Rendering video"));
    setRange(0, 0);
    setLabelText(tr("Rendering %1\nStarting…").arg(QFileInfo(output).fileName()));

    connect(&process_, &RenderProcess::indexed, this, &RenderProgressDialog::showIndexing);
    connect(&process_, &RenderProcess::progressed, this, &RenderProgressDialog::showFrames);
    connect(&process_, &RenderProcess::finished, this, &RenderProgressDialog::end);
    // Cancel, the close box and Escape all come here; so does close() at the end.
    connect(this, &QProgressDialog::canceled, this, [this] {
        stopRendering();
        if (ended_) return;
        ended_ = true;
        close();
    });
    process_.start();
    show();
}

void RenderProgressDialog::abandon() {
    messages_ = nullptr;
    stopRendering();
}

void RenderProgressDialog::stopRendering() {
    process_.cancel();
    script_.reset();
}

void RenderProgressDialog::showIndexing(qint64 done, qint64 total) {
    setLabelText(tr("Rendering %1\nReading the clips' indexes…").arg(QFileInfo(output_).fileName()));
    setRange(0, 1000);
    setValue(total > 0 ? static_cast<int>(1000 * done / total) : 0);
}

void RenderProgressDialog::showFrames(qint64 done, qint64 total) {
    if (firstFrames_ < 0) {
        firstFrames_ = done;
        clock_.start();
    }
    const double seconds = static_cast<double>(clock_.nsecsElapsed()) / 1e9;
    const double rate = seconds > 0.2 ? static_cast<double>(done - firstFrames_) / seconds : -1.0;
    setLabelText(tr("Rendering %1\n").arg(QFileInfo(output_).fileName()) + renderFigures(done, total, rate));
    setRange(0, static_cast<int>(std::min<qint64>(total, INT_MAX)));
    setValue(static_cast<int>(std::min<qint64>(done, INT_MAX)));
}

void RenderProgressDialog::end(bool rendered, const QString& error) {
    ended_ = true;
    stopRendering();
    hide();
    if (messages_) {
        const std::string text =
            rendered ? model::messages::kVideoRenderedPrefix + output_.toStdString() : error.toStdString();
        messages_->showMessage(text);
    }
    close();
}

}  // namespace vistrel::ui
