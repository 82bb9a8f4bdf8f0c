#pragma once
// Small controls the windows are made of: a label that reports clicks, a
// check box read as the script's true/false, and one-line text boxes that
// keep a pasted text to its first line.

#include "model/Edit.h"

#include <QCheckBox>
#include <QLabel>

class QLineEdit;

namespace vistrel::ui {

// A caption that answers a click: pressed and released over it with the left
// button. It takes no focus, as a caption does not.

class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

// A check box's state as the fade toggles read it. Qt counts a ticked box
// as 2; the edit's values are 0 unticked, 1 ticked, 2 greyed.

model::CheckValue checkValueOf(Qt::CheckState state);
inline model::CheckValue checkValueOf(const QCheckBox& box) { return checkValueOf(box.checkState()); }

// A one-line text box holds one line. Qt's line edit keeps the line breaks
// of a pasted or dropped text; a single-line box takes the pasted text up to
// its first line break, so nothing after it reaches a script.

void keepToOneLine(QLineEdit& box);

}  // namespace vistrel::ui
