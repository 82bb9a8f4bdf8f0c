#include "player/ControlBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

#include <algorithm>
#include <climits>

namespace vistrel::player {

namespace {
constexpr int kButtonSize = 24;
}  // namespace

ControlBar::ControlBar(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);

    playPause_ = addButton(QStyle::SP_MediaPlay, tr("Play"), "playPauseButton");
    stepBack_ = addButton(QStyle::SP_MediaSeekBackward, tr("One frame back"), "stepBackButton");
    stepForward_ = addButton(QStyle::SP_MediaSeekForward, tr("One frame forward"), "stepForwardButton");

    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setObjectName("positionSlider");
    slider_->setFocusPolicy(Qt::NoFocus);
    slider_->setRange(0, 0);

    label_ = new QLabel(this);
    label_->setObjectName("positionLabel");
    label_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(1, 1, 4, 1);
    layout->setSpacing(2);
    layout->addWidget(playPause_);
    layout->addWidget(stepBack_);
    layout->addWidget(stepForward_);
    layout->addWidget(slider_, 1);
    layout->addWidget(label_);

    connect(playPause_, &QToolButton::clicked, this, &ControlBar::playPauseClicked);
    connect(stepBack_, &QToolButton::clicked, this, &ControlBar::stepBackClicked);
    connect(stepForward_, &QToolButton::clicked, this, &ControlBar::stepForwardClicked);

    dragDelivery_.setSingleShot(true);
    dragDelivery_.setInterval(0);
    connect(slider_, &QSlider::valueChanged, this, [this](int value) {
        dragTarget_ = value;
        dragDelivery_.start();
    });
    connect(&dragDelivery_, &QTimer::timeout, this, [this] { emit positionDragged(dragTarget_); });

    showPosition(0, 0, {});
}

QToolButton* ControlBar::addButton(QStyle::StandardPixmap icon, const QString& toolTip, const char* name) {
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setIcon(style()->standardIcon(icon));
    button->setToolTip(toolTip);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(kButtonSize, kButtonSize);
    return button;
}

void ControlBar::showPosition(int64_t frame, int64_t count, engine::Rational fps) {
    const bool active = count > 0;
    for (QWidget* control : {static_cast<QWidget*>(playPause_), static_cast<QWidget*>(stepBack_),
                             static_cast<QWidget*>(stepForward_), static_cast<QWidget*>(slider_)})
        control->setEnabled(active);
    {
        // Showing a position is not dragging to it; and a handle held by the
        // mouse stays where the mouse has it while the picture plays on.
        const QSignalBlocker quiet(slider_);
        slider_->setRange(0, static_cast<int>(std::clamp<int64_t>(count - 1, 0, INT_MAX)));
        if (!slider_->isSliderDown()) slider_->setValue(static_cast<int>(std::clamp<int64_t>(frame, 0, INT_MAX)));
        slider_->setPageStep(std::max(1, slider_->maximum() / 10));
    }
    const QString time = QString::fromStdString(engine::timecodeText(frame, fps));
    label_->setText(QStringLiteral("%1 / %2").arg(frame).arg(count) + (time.isEmpty() ? QString() : "   " + time));
    if (count != shownCount_) {
        shownCount_ = count;
        const QString widest = QStringLiteral("%1 / %1").arg(count) + "   " +
                               QString::fromStdString(engine::timecodeText(std::max<int64_t>(count - 1, 0), fps));
        label_->setMinimumWidth(label_->fontMetrics().horizontalAdvance(widest) + 2);
    }
}

void ControlBar::showPlaying(bool playing) {
    playPause_->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    playPause_->setToolTip(playing ? tr("Pause") : tr("Play"));
}

}  // namespace vistrel::player
