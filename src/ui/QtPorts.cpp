#include "ui/QtPorts.h"

#include "model/Messages.h"
#include "player/PlayerWnd.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>

#include <vector>

namespace vistrel::ui {

void MessageBoxSink::showMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(model::messages::kMessageBoxTitle),
                    QString::fromStdString(text), QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// Every button has the same role, so they stand in the order of the answers
// on every platform. Without an escape answer the box has no escape button:
// Escape and the title bar's close button then do nothing.
int QtQuestionBox::ask(const model::Question& question) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(model::messages::kMessageBoxTitle),
                    QString::fromStdString(question.text), QMessageBox::NoButton, parent_);
    box.setTextFormat(Qt::PlainText);
    std::vector<QPushButton*> buttons;
    for (const auto& answer : question.answers)
        buttons.push_back(box.addButton(QString::fromStdString(answer), QMessageBox::ActionRole));
    box.setDefaultButton(buttons.at(static_cast<std::size_t>(question.defaultAnswer)));
    if (question.escapeAnswer >= 0) box.setEscapeButton(buttons.at(static_cast<std::size_t>(question.escapeAnswer)));
    box.exec();

    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i]) return static_cast<int>(i);
    return question.escapeAnswer >= 0 ? question.escapeAnswer : question.defaultAnswer;
}

namespace {

QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// "mkv" for "Matroska, lossless (FFV1) (*.mkv)"; empty for a filter without one suffix.
QString firstSuffix(const QString& nameFilter) {
    static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.(\\w+)"));
    const auto match = pattern.match(nameFilter);
    return match.hasMatch() ? match.captured(1) : QString();
}

}  // namespace

QString qtNameFilter(std::string_view filter) {
    const QStringList parts = fromUtf8(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        filters << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

QtFileDialog::QtFileDialog(const model::FileDialogSetup& setup, FileDialogPurpose purpose, QWidget* parent)
    : title_(fromUtf8(setup.title)),
      nameFilter_(qtNameFilter(setup.filter)),
      defaultSuffix_(fromUtf8(setup.defaultSuffix)),
      purpose_(purpose),
      parent_(parent) {}

std::optional<std::string> QtFileDialog::choose() {
    const std::vector<std::string> chosen = chooseSeveral();
    if (chosen.empty()) return std::nullopt;
    return chosen.front();
}

// The dialog starts in the folder of the file chosen last, with that file
// and the type chosen last.
std::vector<std::string> QtFileDialog::chooseSeveral() {
    QFileDialog dialog(parent_, title_);
    const bool saving = purpose_ == FileDialogPurpose::Save;
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving                                       ? QFileDialog::AnyFile
                       : purpose_ == FileDialogPurpose::OpenSeveral ? QFileDialog::ExistingFiles
                                                                    : QFileDialog::ExistingFile);
    dialog.setNameFilter(nameFilter_);
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);  // cameras write CLIP0001.MTS
    dialog.setDefaultSuffix(defaultSuffix_);
    // A name typed without a suffix takes the one of the type chosen.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, this](const QString& filter) {
        const QString suffix = firstSuffix(filter);
        dialog.setDefaultSuffix(suffix.isEmpty() ? defaultSuffix_ : suffix);
    });
    if (!lastFilter_.isEmpty()) {
        dialog.selectNameFilter(lastFilter_);
        if (const QString suffix = firstSuffix(lastFilter_); !suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
    }
    if (!lastFileName_.isEmpty()) dialog.selectFile(lastFileName_);

    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty()) return {};
    lastFileName_ = chosen.first();
    lastFilter_ = dialog.selectedNameFilter();
    std::vector<std::string> paths;
    for (const QString& path : chosen) paths.push_back(path.toStdString());
    return paths;
}

void PlayerWndControl::filename(const std::string& path) { player_.filename(QString::fromStdString(path)); }

void PlayerWndControl::play() { player_.play(); }

void PlayerWndControl::stop() { player_.stop(); }

std::string PlayerWndControl::sendcommand(const std::string& command) {
    return player_.sendcommand(QString::fromStdString(command)).toStdString();
}

}  // namespace vistrel::ui
