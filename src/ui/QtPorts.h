#pragma once
// The model's ports as the windows implement them with Qt: the message box,
// the questions, the file dialogs and the clip player.

#include "model/Ports.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <string_view>

namespace vistrel::player {
class PlayerWnd;
}

namespace vistrel::ui {

// The window's messages as modal message boxes: title "Vistrel", the text,
// one OK button, no icon.

class MessageBoxSink final : public model::MessageSink {
public:
    explicit MessageBoxSink(QWidget* parent) : parent_(parent) {}
    void showMessage(const std::string& text) override;

private:
    QPointer<QWidget> parent_;
};

// The window's questions as modal message boxes: title "Vistrel", the text,
// one button per answer, the default answer's button as the default one.

class QtQuestionBox final : public model::QuestionBox {
public:
    explicit QtQuestionBox(QWidget* parent) : parent_(parent) {}
    int ask(const model::Question& question) override;

private:
    QPointer<QWidget> parent_;
};

// The open and save dialogs of the main window over QFileDialog. Each keeps
// the name of the last file chosen and offers it again; a cancel answers
// nothing and keeps that name.

enum class FileDialogPurpose { Open, OpenSeveral, Save };

// A filter written "description|pattern;pattern" (several such pairs joined
// by "|") in Qt's form: "description (pattern pattern)", pairs joined by ";;".
QString qtNameFilter(std::string_view filter);

class QtFileDialog final : public model::FileDialog {
public:
    QtFileDialog(const model::FileDialogSetup& setup, FileDialogPurpose purpose, QWidget* parent);

    std::optional<std::string> choose() override;
    std::vector<std::string> chooseSeveral() override;
    void startAt(const std::string& path) override { lastFileName_ = QString::fromStdString(path); }
    const QString& lastFileName() const { return lastFileName_; }

private:
    QString title_;
    QString nameFilter_;
    QString defaultSuffix_;
    FileDialogPurpose purpose_;
    QPointer<QWidget> parent_;
    QString lastFileName_;
    QString lastFilter_;  // the type chosen last, chosen again next time
};

// The edit's view of a clip player widget: paths and command texts cross
// over as UTF-8.

class PlayerWndControl final : public model::PlayerControl {
public:
    explicit PlayerWndControl(player::PlayerWnd& player) : player_(player) {}

    void filename(const std::string& path) override;
    void play() override;
    void stop() override;
    std::string sendcommand(const std::string& command) override;

private:
    player::PlayerWnd& player_;
};

}  // namespace vistrel::ui
