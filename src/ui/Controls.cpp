#include "ui/Controls.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QValidator>

#include <algorithm>

namespace vistrel::ui {

ClickableLabel::ClickableLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setFocusPolicy(Qt::NoFocus);
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) emit clicked();
}

model::CheckValue checkValueOf(Qt::CheckState state) {
    switch (state) {
    case Qt::Checked: return model::CheckValue::Ticked;
    case Qt::PartiallyChecked: return model::CheckValue::Greyed;
    case Qt::Unchecked: break;
    }
    return model::CheckValue::Unticked;
}

namespace {

// The box's text never holds a line break, so any break came with the text
// just inserted, which ends at the cursor: that text is cut at its first break.
class OneLineValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& cursor) const override {
        const qsizetype lineBreak = input.indexOf(QRegularExpression(QStringLiteral("[\\r\\n]")));
        if (lineBreak < 0) return Acceptable;
        const qsizetype insertedEnd = std::max<qsizetype>(cursor, lineBreak);
        input.remove(lineBreak, insertedEnd - lineBreak);
        input.remove(QRegularExpression(QStringLiteral("[\\r\\n]")));  // a break after the cursor, set as text
        cursor = static_cast<int>(std::min(lineBreak, input.size()));
        return Acceptable;
    }
};

}  // namespace

void keepToOneLine(QLineEdit& box) { box.setValidator(new OneLineValidator(&box)); }

}  // namespace vistrel::ui
