#pragma once
// The picture both windows carry: four angle tiles and a cut mark, 32 × 32.

#include <QIcon>

namespace vistrel::ui {

QIcon vistrelIcon();

}  // namespace vistrel::ui
