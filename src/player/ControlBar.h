#pragma once
// The bar under the picture: play/pause, one frame back, one frame forward,
// the position slider and "frame / count". None of its controls takes the
// keyboard focus, so the player's keys keep working after a click on them.
// A drag of the slider asks for the newest position the user moved it to once
// per pass of the event loop, so that a slow seek never queues up behind the
// mouse; while the handle is held, the playing position does not move it.

#include "engine/core/VideoInfo.h"

#include <QStyle>
#include <QTimer>
#include <QWidget>

#include <cstdint>

class QLabel;
class QSlider;
class QToolButton;

namespace vistrel::player {

class ControlBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kHeight = 26;

    explicit ControlBar(QWidget* parent = nullptr);

    // "frame / count" and the frame's time at the clip's rate.
    void showPosition(int64_t frame, int64_t count, engine::Rational fps);
    void showPlaying(bool playing);

signals:
    void playPauseClicked();
    void stepBackClicked();
    void stepForwardClicked();
    void positionDragged(qint64 frame);

private:
    QToolButton* addButton(QStyle::StandardPixmap icon, const QString& toolTip, const char* name);

    QToolButton* playPause_;
    QToolButton* stepBack_;
    QToolButton* stepForward_;
    QSlider* slider_;
    QLabel* label_;
    QTimer dragDelivery_;
    int dragTarget_ = 0;  // where the user last moved the handle
    int64_t shownCount_ = -1;
};

}  // namespace vistrel::player
