#include "ui/QtFileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QRegularExpression>
#include <QStringList>

namespace vistrel::ui {
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
    QFileDialog dialog(parent_, title_);
    const bool saving = purpose_ == FileDialogPurpose::Save;
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(nameFilter_);
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);  // cameras write CLIP0001.MTS
    dialog.setDefaultSuffix(defaultSuffix_);
    // A name typed without a suffix takes the one of the type chosen.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, this](const QString& filter) {
        const QString suffix = firstSuffix(filter);
        dialog.setDefaultSuffix(suffix.isEmpty() ? defaultSuffix_ : suffix);
    });
    if (!lastFileName_.isEmpty()) dialog.selectFile(lastFileName_);

    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty()) return std::nullopt;
    lastFileName_ = chosen.first();
    return lastFileName_.toStdString();
}

}  // namespace vistrel::ui
