#include "ui/SoundMatchDialog.h"

#include "cli/SyncCommand.h"
#include "model/Messages.h"
#include "ui/RenderProgressDialog.h"

#include <QRegularExpression>

#include <exception>

namespace vistrel::ui {
namespace {

QStringList syncArguments(const std::vector<std::string>& clips, const std::string& recording) {
    QStringList arguments{QStringLiteral("--json"), QStringLiteral("--progress-lines")};
    if (!recording.empty()) arguments << QStringLiteral("--sound") << QString::fromStdString(recording);
    arguments << QStringLiteral("--");
    for (const std::string& clip : clips) arguments << QString::fromStdString(clip);
    return arguments;
}

}  // namespace

SoundMatchDialog::SoundMatchDialog(QWidget& window, std::vector<std::string> clips, const std::string& recording,
                                   model::MessageSink& messages, Found found)
    : QProgressDialog(&window),
      clips_(std::move(clips)),
      messages_(&messages),
      found_(std::move(found)),
      process_(QStringLiteral("vistrel-sync"), syncArguments(clips_, recording)) {
    setUpBackgroundProgress(*this, tr("Match start frames by sound"));
    setRange(0, 1000);  // vistrel-sync counts to 1000
    setLabelText(tr("Reading the sound of %n clip(s) and matching it…", nullptr, static_cast<int>(clips_.size())));
    connect(this, &QProgressDialog::canceled, this, [this] {
        process_.stop();
        if (ended_) return;
        ended_ = true;
        close();
    });
    connect(&process_, &ProgramProcess::lineRead, this, &SoundMatchDialog::readLine);
    connect(&process_, &ProgramProcess::finished, this, &SoundMatchDialog::finished);
    process_.start();
    show();
}

void SoundMatchDialog::abandon() {
    messages_ = nullptr;
    process_.stop();
}

void SoundMatchDialog::readLine(const QString& line) {
    static const QRegularExpression progress(QStringLiteral("^matching (\\d+) of 1000$"));
    if (const auto match = progress.match(line); match.hasMatch())
        setValue(match.captured(1).toInt());
    else
        report_ += line.toUtf8() + '\n';
}

void SoundMatchDialog::finished(bool succeeded, const QString& error) {
    if (!succeeded) return end(nullptr, error);
    try {
        const sync::MatchedAngles found = cli::readSyncReportJson(report_);
        end(&found, {});
    } catch (const std::exception& unread) {
        end(nullptr, QString::fromUtf8(unread.what()));
    }
}

void SoundMatchDialog::end(const sync::MatchedAngles* found, const QString& error) {
    if (ended_) return;
    ended_ = true;
    close();
    if (!messages_) return;
    if (found)
        found_(clips_, *found);
    else
        messages_->showMessage(model::messages::kSoundMatchFailedPrefix + error.toStdString());
}

}  // namespace vistrel::ui
