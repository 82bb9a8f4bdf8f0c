#include "ui/StartPointDialog.h"

#include "model/Ports.h"
#include "player/PlayerWnd.h"
#include "ui/Controls.h"
#include "ui/StartFrameAccess.h"
#include "ui/WindowLook.h"

#include <QLineEdit>
#include <QPushButton>

namespace vistrel::ui {

StartPointDialog::StartPointDialog(StartFrameAccess& mainWindow, const QMargins& expectedFrame)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      mainWindow_(&mainWindow) {
    setObjectName(QStringLiteral("offset"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("set beginning pont for clip"));
    setWindowIcon(vistrelIcon());
    setFont(windowFont(font()));
    setFixedSize(pixelSize(5100, 4425));
    createControls();
    setTabOrder();
    wireEvents();

    centreOnScreen(*this, expectedFrame);
    startFrameBox_->setText(QString::fromStdString(mainWindow_->selectedStartFrame()));
    startFrameBox_->setFocus();
}

void StartPointDialog::createControls() {
    player_ = placeControl<player::PlayerWnd>(*this, "PlayerWnd1", {0, 0, 5055, 3855});
    player_->setAutosize(false);
    player_->setVolume(100);
    player_->setBorderstyle(0);
    okButton_ = placeControl<QPushButton>(*this, "Command1", {3120, 4080, 495, 255}, QStringLiteral("OK"));
    okButton_->setAutoDefault(false);
    startFrameBox_ = placeControl<QLineEdit>(*this, "Text1", {1080, 3960, 1095, 375});
    keepToOneLine(*startFrameBox_);
    jumpLabel_ = placeControl<ClickableLabel>(*this, "Label1", {2280, 4080, 735, 255}, QStringLiteral("jump to:"));
}

void StartPointDialog::setTabOrder() {
    QWidget::setTabOrder(startFrameBox_, okButton_);
    QWidget::setTabOrder(okButton_, player_);
}

void StartPointDialog::wireEvents() {
    connect(player_, &player::PlayerWnd::positionchange, this, &StartPointDialog::showPosition);
    connect(jumpLabel_, &ClickableLabel::clicked, this, &StartPointDialog::jumpToTypedFrame);
    connect(okButton_, &QPushButton::clicked, this, &StartPointDialog::storeAndClose);
}

void StartPointDialog::showClip(const std::string& path) { player_->filename(QString::fromStdString(path)); }

void StartPointDialog::showPosition(int frame) { startFrameBox_->setText(QString::number(frame)); }

void StartPointDialog::jumpToTypedFrame() {
    player_->sendcommand(QString::fromLatin1(model::kSeekToCommandPrefix) + startFrameBox_->text());
}

void StartPointDialog::storeAndClose() {
    if (mainWindow_) mainWindow_->storeSelectedStartFrame(startFrameBox_->text().toStdString());
    close();
}

}  // namespace vistrel::ui
