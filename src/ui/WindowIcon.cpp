#include "ui/WindowIcon.h"

#include <QString>

namespace vistrel::ui {

QIcon vistrelIcon() { return QIcon(QStringLiteral(":/vistrel/vistrel.png")); }

}  // namespace vistrel::ui
