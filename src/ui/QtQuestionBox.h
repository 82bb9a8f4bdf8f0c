#pragma once
// The window's questions as modal message boxes: title "Vistrel", the text,
// one button per answer, the default answer's button as the default one.

#include <QPointer>
#include <QWidget>

#include "model/QuestionBox.h"

namespace vistrel::ui {

class QtQuestionBox final : public model::QuestionBox {
public:
    explicit QtQuestionBox(QWidget* parent) : parent_(parent) {}
    int ask(const model::Question& question) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace vistrel::ui
