#include "ui/CheckBoxValue.h"

namespace vistrel::ui {

model::CheckValue checkValueOf(Qt::CheckState state) {
    switch (state) {
    case Qt::Checked: return model::CheckValue::Ticked;
    case Qt::PartiallyChecked: return model::CheckValue::Greyed;
    case Qt::Unchecked: break;
    }
    return model::CheckValue::Unticked;
}

}  // namespace vistrel::ui
