#pragma once
// The open and save dialogs of the main window over QFileDialog. Each keeps
// the name of the last file chosen and offers it again; a cancel answers
// nothing and keeps that name.

#include <QPointer>
#include <QString>
#include <QWidget>

#include <string_view>

#include "model/FileDialog.h"

namespace vistrel::ui {

enum class FileDialogPurpose { Open, Save };

// A filter written "description|pattern;pattern" (several such pairs joined
// by "|") in Qt's form: "description (pattern pattern)", pairs joined by ";;".
QString qtNameFilter(std::string_view filter);

class QtFileDialog final : public model::FileDialog {
public:
    QtFileDialog(const model::FileDialogSetup& setup, FileDialogPurpose purpose, QWidget* parent);

    std::optional<std::string> choose() override;
    const QString& lastFileName() const { return lastFileName_; }

private:
    QString title_;
    QString nameFilter_;
    QString defaultSuffix_;
    FileDialogPurpose purpose_;
    QPointer<QWidget> parent_;
    QString lastFileName_;
};

}  // namespace vistrel::ui
