#pragma once
// A one-line text box holds one line. Qt's line edit keeps the line breaks
// of a pasted or dropped text; a single-line box takes the pasted text up to
// its first line break, so nothing after it reaches a script.

class QLineEdit;

namespace vistrel::ui {

void keepToOneLine(QLineEdit& box);

}  // namespace vistrel::ui
