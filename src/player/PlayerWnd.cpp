#include "player/PlayerWnd.h"

#include "player/ControlBar.h"
#include "player/MciCommand.h"
#include "player/VideoView.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QPainter>

#include <algorithm>
#include <climits>

namespace vistrel::player {

namespace {

constexpr int kPageFrames = 10;

// Every key the player answers with the focus on it; keyPressEvent and
// keyHelp both read this table.
struct PlayerKey {
    Qt::Key key;
    const char* action;
    void (*run)(PlayerWnd&);
};

constexpr PlayerKey kKeys[] = {
    {Qt::Key_Space, "Play / pause", [](PlayerWnd& p) { p.togglePlay(); }},
    {Qt::Key_Left, "One frame back", [](PlayerWnd& p) { p.step(-1); }},
    {Qt::Key_Right, "One frame forward", [](PlayerWnd& p) { p.step(1); }},
    {Qt::Key_PageUp, "Ten frames back", [](PlayerWnd& p) { p.step(-kPageFrames); }},
    {Qt::Key_PageDown, "Ten frames forward", [](PlayerWnd& p) { p.step(kPageFrames); }},
    {Qt::Key_Home, "First frame", [](PlayerWnd& p) { p.seek(0); }},
    {Qt::Key_End, "Last frame", [](PlayerWnd& p) { p.seek(p.frameCount() - 1); }},
};

int clampToInt(int64_t value) { return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX)); }

}  // namespace

PlayerWnd::PlayerWnd(QWidget* parent) : PlayerWnd(PlaybackDependencies::standard(), parent) {}

PlayerWnd::PlayerWnd(PlaybackDependencies dependencies, QWidget* parent)
    : QWidget(parent), view_(new VideoView(this)), bar_(new ControlBar(this)), playback_(std::move(dependencies)) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    playback_.setVolume(volume_);
    wire();
    layoutChildren();
}

PlayerWnd::~PlayerWnd() = default;

void PlayerWnd::wire() {
    connect(&playback_, &Playback::pictureChanged, view_, &VideoView::setPicture);
    connect(&playback_, &Playback::messageChanged, view_, &VideoView::setMessage);
    connect(&playback_, &Playback::positionChanged, this, [this](qint64 frame) {
        showPosition();
        emit positionchange(clampToInt(frame));
    });
    connect(&playback_, &Playback::clipChanged, this, [this] {
        showPosition();
        if (autosize_) fitToClip();
    });
    connect(&playback_, &Playback::modeChanged, this, [this](PlaybackMode mode) {
        bar_->showPlaying(mode == PlaybackMode::Playing);
        emit modeChanged(mode);
    });
    connect(&playback_, &Playback::opened, this, &PlayerWnd::opened);

    connect(bar_, &ControlBar::playPauseClicked, this, &PlayerWnd::togglePlay);
    connect(bar_, &ControlBar::stepBackClicked, this, [this] { step(-1); });
    connect(bar_, &ControlBar::stepForwardClicked, this, [this] { step(1); });
    connect(bar_, &ControlBar::positionDragged, this, [this](qint64 frame) { seek(frame); });
}

// ---- The contract ----

void PlayerWnd::filename(const QString& path) {
    fileName_ = path;
    view_->setColumnMarks({});
    layoutChildren();
    playback_.open(path);
}

void PlayerWnd::rate(int thousandths) { playback_.setRate(thousandths); }

void PlayerWnd::play() { playback_.play(); }

void PlayerWnd::stop() { playback_.stop(); }

QString PlayerWnd::sendcommand(const QString& command) {
    const MciCommand parsed = parseMciCommand(command);
    switch (parsed.kind) {
    case MciCommand::Kind::StatusPosition: return QString::number(position());
    case MciCommand::Kind::StatusLength: return QString::number(frameCount());
    case MciCommand::Kind::StatusMode: return modeName(mode());
    case MciCommand::Kind::SeekTo:
        if (parsed.target) seek(*parsed.target);
        if (parsed.wait) finishSeek();
        break;
    case MciCommand::Kind::Play: play(); break;
    case MciCommand::Kind::Pause: pause(); break;
    case MciCommand::Kind::Stop: stop(); break;
    case MciCommand::Kind::Unknown: break;
    }
    return {};
}

// ---- Qt-style operations ----

void PlayerWnd::pause() { playback_.pause(); }

void PlayerWnd::togglePlay() { playback_.togglePlay(); }

void PlayerWnd::seek(int64_t frame) { playback_.seek(frame); }

void PlayerWnd::step(int64_t frames) { playback_.step(frames); }

QRect PlayerWnd::pictureRect() const {
    // From the player's own size: a hidden player gets its resize events only when shown.
    const QRect area = videoArea();
    return view_->pictureRect(area.size()).translated(area.topLeft());
}

QString PlayerWnd::message() const { return view_->message(); }

void PlayerWnd::setColumnMarks(const ColumnMarks& marks) { view_->setColumnMarks(marks); }

const ColumnMarks& PlayerWnd::columnMarks() const { return view_->columnMarks(); }

// ---- Settings ----

void PlayerWnd::setAutosize(bool on) {
    autosize_ = on;
    if (autosize_) fitToClip();
}

void PlayerWnd::setVolume(int percent) {
    volume_ = std::clamp(percent, 0, 100);
    playback_.setVolume(volume_);
}

void PlayerWnd::setBorderstyle(int style) {
    borderstyle_ = style == 0 ? 0 : 1;
    const int margin = borderstyle_;
    setContentsMargins(margin, margin, margin, margin);
    layoutChildren();
    update();
}

QSize PlayerWnd::sizeHint() const {
    const QMargins m = contentsMargins();
    return QSize(320 + m.left() + m.right(), 240 + ControlBar::kHeight + m.top() + m.bottom());
}

// ---- Events ----

void PlayerWnd::keyPressEvent(QKeyEvent* event) {
    for (const PlayerKey& key : kKeys) {
        if (event->key() != key.key) continue;
        key.run(*this);
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

QList<PlayerWnd::KeyHelp> PlayerWnd::keyHelp() {
    QList<KeyHelp> help;
    for (const PlayerKey& key : kKeys)
        help.append({QKeySequence(key.key).toString(QKeySequence::NativeText), QString::fromLatin1(key.action)});
    return help;
}

void PlayerWnd::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutChildren();
}

void PlayerWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (borderstyle_ == 1) {
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

QRect PlayerWnd::videoArea() const {
    const QRect inside = contentsRect();
    return inside.adjusted(0, 0, 0, -std::min(ControlBar::kHeight, inside.height()));
}

void PlayerWnd::layoutChildren() {
    const QRect area = videoArea();
    const QRect inside = contentsRect();
    view_->setGeometry(area);
    bar_->setGeometry(inside.x(), area.bottom() + 1, inside.width(), inside.bottom() - area.bottom());
    playback_.setPictureArea(area.size() * devicePixelRatioF());
}

void PlayerWnd::showPosition() { bar_->showPosition(position(), frameCount(), playback_.frameRate()); }

void PlayerWnd::fitToClip() {
    const QSize clip = playback_.clipSize();
    if (clip.isEmpty()) return;
    const QMargins m = contentsMargins();
    resize(clip.width() + m.left() + m.right(), clip.height() + ControlBar::kHeight + m.top() + m.bottom());
}

}  // namespace vistrel::player
