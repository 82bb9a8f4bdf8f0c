#include "ui/MessageBoxSink.h"

#include <QMessageBox>

#include "model/Messages.h"

namespace vistrel::ui {

void MessageBoxSink::showMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(model::messages::kMessageBoxTitle),
                    QString::fromStdString(text), QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace vistrel::ui
