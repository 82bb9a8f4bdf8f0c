#pragma once
// The window's messages as modal message boxes: title "Vistrel", the text,
// one OK button, no icon; its questions the same with Yes and No.

#include <QPointer>
#include <QWidget>

#include "model/MessageSink.h"

namespace vistrel::ui {

class MessageBoxSink final : public model::MessageSink, public model::Question {
public:
    explicit MessageBoxSink(QWidget* parent) : parent_(parent) {}
    void showMessage(const std::string& text) override;
    bool ask(const std::string& text) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace vistrel::ui
