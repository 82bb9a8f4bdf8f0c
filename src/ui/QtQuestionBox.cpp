#include "ui/QtQuestionBox.h"

#include <QMessageBox>
#include <QPushButton>

#include <vector>

#include "model/Messages.h"

namespace vistrel::ui {

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

}  // namespace vistrel::ui
