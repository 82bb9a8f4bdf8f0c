#include "player/Playback.h"

#include "player/SoundOutput.h"

#include <QFileInfo>
#include <QMetaObject>

#include <algorithm>

namespace vistrel::player {

namespace {

// How often the sound device is topped up while it plays.
constexpr int kSoundFeedMilliseconds = 15;

}  // namespace

PlaybackDependencies PlaybackDependencies::standard() {
    PlaybackDependencies standard;
    standard.open = engineOpenFunction();
    standard.sound = [] { return std::make_unique<QtSoundOutput>(); };
    return standard;
}

Playback::Playback(PlaybackDependencies dependencies, QObject* parent)
    : QObject(parent),
      dependencies_(std::move(dependencies)),
      opener_(dependencies_.open),
      sound_(dependencies_.sound ? dependencies_.sound() : nullptr),
      readAhead_([this] {
          QMetaObject::invokeMethod(
              this, [this] { onPictureReady(); }, Qt::QueuedConnection);
      }) {
    frameTimer_.setSingleShot(true);
    frameTimer_.setTimerType(Qt::PreciseTimer);
    connect(&frameTimer_, &QTimer::timeout, this, &Playback::advance);
    primingTimer_.setSingleShot(true);
    connect(&primingTimer_, &QTimer::timeout, this, &Playback::primingTimedOut);
    soundTimer_.setInterval(kSoundFeedMilliseconds);
    connect(&soundTimer_, &QTimer::timeout, this, [this] {
        sound_.feed(clockSample());
        if (!sound_.playing()) soundTimer_.stop();
    });
    connect(&opener_, &ClipOpener::opened, this, &Playback::finishOpening);
    connect(&opener_, &ClipOpener::indexProgressed, this, &Playback::showIndexProgress);
}

Playback::~Playback() { haltPlayback(); }

// ---- Opening ----

void Playback::open(const QString& path) {
    haltPlayback();
    setMode(PlaybackMode::Stopped);
    clip_.reset();
    error_.clear();
    position_ = 0;
    seekWhenOpen_.reset();
    pendingSeek_.reset();
    playWhenOpen_ = false;
    picture_ = QImage();
    emit pictureChanged(picture_);

    if (path.trimmed().isEmpty()) {
        opener_.abandon();
        fail(tr("No file name was given."));
        return;
    }
    opening_ = true;
    emit clipChanged();
    opener_.open(resolvePlayerPath(path), dependencies_.openWait);
    if (opening_) emit messageChanged(tr("Opening %1…").arg(QFileInfo(path).fileName()));
}

void Playback::showError(const QString& message) {
    haltPlayback();
    setMode(PlaybackMode::Stopped);
    opener_.abandon();
    emit messageChanged({});
    fail(message);
}

void Playback::showIndexProgress(int percent) {
    if (opening_) emit messageChanged(tr("Indexing… %1%").arg(percent));
}

void Playback::finishOpening(const OpenResult& result) {
    opening_ = false;
    emit messageChanged({});
    if (!result.clip) return fail(result.error);
    if (!result.clip->info().hasVideo() || result.clip->info().frameCount <= 0)
        return fail(tr("%1 has no pictures to show.").arg(result.path));

    clip_ = result.clip;
    const std::optional<int64_t> seek = std::exchange(seekWhenOpen_, std::nullopt);
    showFrameNow(std::clamp<int64_t>(seek.value_or(0), 0, frameCount() - 1));
    emit clipChanged();
    if (seek) emit positionChanged(position_);
    emit opened(true);
    if (std::exchange(playWhenOpen_, false)) play();
}

void Playback::fail(const QString& message) {
    opening_ = false;
    clip_.reset();
    error_ = message;
    position_ = 0;
    seekWhenOpen_.reset();
    pendingSeek_.reset();
    playWhenOpen_ = false;
    picture_ = renderer_.errorPicture(message, area_);
    emit pictureChanged(picture_);
    emit clipChanged();
    emit opened(false);
}

// ---- What is shown ----

int64_t Playback::position() const {
    // While a file opens (no clip yet) its length is unknown, and a seek
    // meanwhile may ask for any frame: 0 is the one frame sure to be inside it.
    return clip_ ? position_ : 0;
}

int64_t Playback::frameCount() const { return clip_ ? clip_->info().frameCount : 0; }

engine::Rational Playback::frameRate() const { return clip_ ? clip_->info().fps : engine::Rational{}; }

PlaybackMode Playback::mode() const {
    if (opening_ && playWhenOpen_) return PlaybackMode::Playing;
    return mode_;
}

QSize Playback::clipSize() const { return clip_ ? QSize(clip_->info().width, clip_->info().height) : QSize(); }

void Playback::showFrameNow(int64_t n) { showPicture(renderer_.render(*clip_, n, area_)); }

void Playback::showPicture(Picture picture) {
    position_ = picture.frame;
    picture_ = std::move(picture.image);
    emit pictureChanged(picture_);
}

void Playback::setPictureArea(QSize area) {
    if (area == area_) return;
    area_ = area;
    if (clip_) {
        showFrameNow(position_);
        if (pendingSeek_)
            readAhead_.start(clip_, *pendingSeek_, area_);
        else if (mode_ == PlaybackMode::Playing)
            readAhead_.start(clip_, position_ + 1, area_);
    } else if (!error_.isEmpty()) {
        picture_ = renderer_.errorPicture(error_, area_);
        emit pictureChanged(picture_);
    }
}

// ---- Moving ----

void Playback::seek(int64_t n) {
    if (opening_) {
        seekWhenOpen_ = std::max<int64_t>(n, 0);
        return;
    }
    if (!clip_) return;
    moveTo(std::clamp<int64_t>(n, 0, frameCount() - 1));
}

void Playback::step(int64_t delta) {
    if (!clip_) return;
    if (mode_ == PlaybackMode::Playing) pause();
    // Bounded first, so that a huge step cannot overflow; seek clamps the rest.
    seek(pendingSeek_.value_or(position_) + std::clamp<int64_t>(delta, -frameCount(), frameCount()));
}

void Playback::moveTo(int64_t n) {
    const bool playing = mode_ == PlaybackMode::Playing;
    if (playing) stopClock();  // until the new frame is shown; the read-ahead goes on below
    if (n == position_) {
        pendingSeek_.reset();
        if (playing) startClock();
        return;
    }
    if (n == pendingSeek_) return;
    std::optional<Picture> atHand = readAhead_.take(n);
    if (atHand && atHand->frame == n) return landSeek(std::move(*atHand));
    pendingSeek_ = n;
    readAhead_.start(clip_, n, area_);
}

void Playback::onSeekPictureReady() {
    std::optional<Picture> picture = readAhead_.take(*pendingSeek_);
    if (picture && picture->frame == *pendingSeek_) landSeek(std::move(*picture));
}

void Playback::landSeek(Picture picture) {
    pendingSeek_.reset();
    showPicture(std::move(picture));
    if (mode_ == PlaybackMode::Playing) startClock();
    emit positionChanged(position_);
}

void Playback::finishSeek() {
    if (!pendingSeek_) return;
    if (std::optional<Picture> picture = readAhead_.waitFor(*pendingSeek_)) landSeek(std::move(*picture));
}

// ---- Playing ----

void Playback::play() {
    if (opening_) {
        playWhenOpen_ = true;
        return;
    }
    if (!clip_ || mode_ == PlaybackMode::Playing) return;
    setMode(PlaybackMode::Playing);
    if (pendingSeek_.value_or(position_) >= frameCount() - 1 && frameCount() > 1)
        moveTo(0);
    else if (!pendingSeek_)
        startClock();
}

// A pending seek outlives a pause or stop: its frame is still read and shown.
void Playback::pause() {
    playWhenOpen_ = false;
    if (!clip_) return;
    stopClock();
    if (!pendingSeek_) readAhead_.halt();
    setMode(PlaybackMode::Paused);
}

void Playback::stop() {
    playWhenOpen_ = false;
    stopClock();
    if (!pendingSeek_) readAhead_.halt();
    setMode(PlaybackMode::Stopped);
}

void Playback::togglePlay() {
    if (mode() == PlaybackMode::Playing)
        pause();
    else
        play();
}

void Playback::setRate(int rate) {
    rate_ = std::clamp(rate, 0, kFastestRate);
    if (mode_ == PlaybackMode::Playing && !pendingSeek_) startClock(false);
}

void Playback::setVolume(int percent) { sound_.setVolume(percent); }

void Playback::setMode(PlaybackMode mode) {
    if (mode == mode_) return;
    mode_ = mode;
    emit modeChanged(mode_);
}

// Counts time from the frame shown now; sound and read-ahead start there too.
void Playback::startClock(bool prime) {
    stopClock();
    readAhead_.start(clip_, position_ + 1, area_);
    if (prime && position_ + 1 < frameCount()) {
        primingSince_ = now();
        primingTimer_.start(kMostPriming);
        return;
    }
    runClock();
}

void Playback::stopClock() {
    frameTimer_.stop();
    soundTimer_.stop();
    primingTimer_.stop();
    sound_.stop();
    waitingForPicture_ = false;
}

void Playback::haltPlayback() {
    stopClock();
    pendingSeek_.reset();
    readAhead_.halt();
}

void Playback::runClock() {
    primingTimer_.stop();
    const PlaybackClock::Time start = now();
    clock_.start(position_, clip_->info().fps, rate_, start);
    sound_.start(clip_, position_, rate_);
    if (sound_.playing())
        soundTimer_.start();
    else
        soundTimer_.stop();
    scheduleNextFrame(start);
}

void Playback::scheduleNextFrame(PlaybackClock::Time from) {
    const std::optional<PlaybackClock::Time> due = clock_.dueTime(position_ + 1);
    if (!due) {
        frameTimer_.stop();
        return;
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*due - from);
    frameTimer_.start(std::max<std::chrono::milliseconds>(wait, std::chrono::milliseconds(0)));
}

void Playback::advance() {
    if (mode_ != PlaybackMode::Playing || !clip_) return;
    const PlaybackClock::Time current = now();
    const int64_t last = frameCount() - 1;
    const int64_t due = std::min(clock_.dueFrame(current), last);
    if (due > position_) {
        std::optional<Picture> picture = readAhead_.take(due);
        if (!picture || picture->frame <= position_) {
            waitingForPicture_ = true;
            return;
        }
        waitingForPicture_ = false;
        stats_.dropped += picture->frame - position_ - 1;
        ++stats_.shown;
        showPicture(std::move(*picture));
        emit positionChanged(position_);
    }
    if (position_ >= last) {
        stop();
        return;
    }
    scheduleNextFrame(current);
}

void Playback::onPictureReady() {
    if (pendingSeek_) return onSeekPictureReady();
    if (primingTimer_.isActive()) {
        const int64_t wanted = std::min<int64_t>(kPrimedFrames, frameCount() - 1 - position_);
        if (readAhead_.queued() >= wanted) runClock();
        return;
    }
    if (waitingForPicture_) advance();
}

// The sound sample the clock has reached; sound plays only at normal speed.
int64_t Playback::clockSample() const {
    const engine::VideoInfo& info = clip_->info();
    const int64_t elapsed = std::max<int64_t>((now() - clock_.startTime()).count(), 0);
    return info.samplesBeforeFrame(clock_.startFrame()) + elapsed / 1000 * info.audioRate / 1'000'000;
}

// The clock starts without all its primed frames only once kMostPriming has
// passed on the playback's own time.
void Playback::primingTimedOut() {
    const auto left = kMostPriming - (now() - primingSince_);
    if (left > PlaybackClock::Time(0))
        primingTimer_.start(std::chrono::ceil<std::chrono::milliseconds>(left));
    else
        runClock();
}

PlaybackClock::Time Playback::now() const {
    if (dependencies_.clock) return dependencies_.clock();
    return std::chrono::duration_cast<PlaybackClock::Time>(std::chrono::steady_clock::now().time_since_epoch());
}

}  // namespace vistrel::player
