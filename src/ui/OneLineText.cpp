#include "ui/OneLineText.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QValidator>

#include <algorithm>

namespace vistrel::ui {
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
