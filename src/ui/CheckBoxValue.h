#pragma once
// A check box's state as the fade toggles read it. Qt counts a ticked box
// as 2; the edit's values are 0 unticked, 1 ticked, 2 greyed.

#include <QCheckBox>

#include "model/Edit.h"

namespace vistrel::ui {

model::CheckValue checkValueOf(Qt::CheckState state);
inline model::CheckValue checkValueOf(const QCheckBox& box) { return checkValueOf(box.checkState()); }

}  // namespace vistrel::ui
