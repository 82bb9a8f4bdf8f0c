#pragma once
// The player without its widgets: one open clip, the frame shown, and playing
// it in time. Everything here runs on the UI thread; decoding for playback
// runs ahead on a worker (ReadAhead), opening on another (ClipOpener).
//
// A seek or step never decodes on the UI thread: a frame already decoded
// ahead is shown at once, any other is decoded by the read-ahead worker and
// shown when it is ready (a newer seek supersedes an older one, a step counts
// from the frame a pending seek goes to). The position is always the frame on
// screen; `finishSeek` waits for a pending seek where a caller needs the
// frame before it goes on. While playing, the clock decides which frame is
// due; a frame that is not ready in time is skipped and counted as dropped,
// so the picture never falls behind the clock; a seek while playing holds the
// clock until its frame is shown.
//
// A file that is still opening has no frames yet: its position is 0 until it
// is open; a seek meanwhile is shown once it is (clamped to the clip), and
// play waits for the open.

#include "engine/core/Clip.h"
#include "player/ClipOpener.h"
#include "player/FrameRenderer.h"
#include "player/PlaybackClock.h"
#include "player/ReadAhead.h"
#include "player/SoundFeeder.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

namespace vistrel::player {

// What the player is doing, with the words "status mode" answers.
enum class PlaybackMode { Stopped, Paused, Playing };

inline QString modeName(PlaybackMode mode) {
    switch (mode) {
    case PlaybackMode::Playing: return QStringLiteral("playing");
    case PlaybackMode::Paused: return QStringLiteral("paused");
    case PlaybackMode::Stopped: break;
    }
    return QStringLiteral("stopped");
}

struct PlaybackStats {
    int64_t shown = 0;    // frames shown by the clock
    int64_t dropped = 0;  // frames the clock passed over because they were not ready
};

struct PlaybackDependencies {
    OpenFunction open;         // how a path becomes a clip
    SoundOutputFactory sound;  // where sound goes; empty: silent
    // How long opening may hold up the UI before it goes on in the background.
    std::chrono::milliseconds openWait{400};
    // The time playback runs by: the steady clock when empty. A test passes a
    // clock of its own, so that what it checks depends on the frames the
    // player was given time to prepare, not on how busy the machine is.
    std::function<PlaybackClock::Time()> clock;

    // The script engine and the system's sound device.
    static PlaybackDependencies standard();
};

class Playback : public QObject {
    Q_OBJECT

public:
    static constexpr int kNormalRate = 1000;
    static constexpr int kFastestRate = 100'000;
    // Frames decoded ahead before the clock of a play (or a seek while
    // playing) starts, so that its first frames are not dropped while the
    // decoders warm up; the clock starts anyway after kMostPriming has passed
    // on it.
    static constexpr int kPrimedFrames = 4;
    static constexpr std::chrono::milliseconds kMostPriming{400};

    explicit Playback(PlaybackDependencies dependencies, QObject* parent = nullptr);
    ~Playback() override;

    // Closes the open file and opens path ("" opens nothing and says so).
    void open(const QString& path);
    // Closes the file (or gives up an open in progress) and shows the message on the card.
    void showError(const QString& message);

    void play();
    void pause();
    void stop();
    void togglePlay();
    // Shows frame n, clamped to the clip; playing goes on from there.
    void seek(int64_t n);
    // Pauses and moves by delta frames.
    void step(int64_t delta);
    // Waits until the frame of a pending seek is shown (at once when none is pending).
    void finishSeek();
    // Thousandths of normal speed; 0 holds the picture. Negative counts as 0.
    void setRate(int rate);
    // The size pictures are made for, in device pixels.
    void setPictureArea(QSize area);
    void setVolume(int percent);

    bool isOpen() const { return clip_ != nullptr; }
    bool isOpening() const { return opening_; }
    // A seek is waiting for its frame to be decoded.
    bool isSeeking() const { return pendingSeek_.has_value(); }
    // A play waits for frames decoded ahead before its clock starts.
    bool isPriming() const { return primingTimer_.isActive(); }
    QString errorMessage() const { return error_; }
    int64_t position() const;
    int64_t frameCount() const;
    engine::Rational frameRate() const;  // 0/1 while nothing is open
    PlaybackMode mode() const;
    int rate() const { return rate_; }
    QSize clipSize() const;
    const QImage& picture() const { return picture_; }
    PlaybackStats stats() const { return stats_; }

signals:
    void pictureChanged(const QImage& picture);
    // A line to show instead of a picture while a file opens; empty when none.
    void messageChanged(const QString& message);
    void positionChanged(qint64 frame);
    void modeChanged(vistrel::player::PlaybackMode mode);
    // A file opened, failed to open, or was closed: the frame count changed.
    void clipChanged();
    void opened(bool ok);

private:
    void finishOpening(const OpenResult& result);
    void fail(const QString& message);
    void showIndexProgress(int percent);

    void showFrameNow(int64_t n);
    void showPicture(Picture picture);
    // Shows frame n from the read-ahead if it is there, or has it decoded there.
    void moveTo(int64_t n);
    void onSeekPictureReady();
    void landSeek(Picture picture);
    void setMode(PlaybackMode mode);
    // Restarts decoding ahead from the frame shown; with `prime` the clock
    // waits until a few frames are ready (or a moment has passed).
    void startClock(bool prime = true);
    void runClock();
    void stopClock();
    // Stops the clock and all reading, a pending seek's too.
    void haltPlayback();
    void scheduleNextFrame(PlaybackClock::Time now);
    void advance();
    void onPictureReady();

    void primingTimedOut();
    int64_t clockSample() const;
    PlaybackClock::Time now() const;

    PlaybackDependencies dependencies_;
    ClipOpener opener_;
    SoundFeeder sound_;
    FrameRenderer renderer_;  // pictures made on the UI thread
    PlaybackClock clock_;
    QTimer frameTimer_;
    QTimer soundTimer_;

    engine::ClipPtr clip_;  // null while nothing is open
    QString error_;
    bool opening_ = false;
    std::optional<int64_t> seekWhenOpen_;
    std::optional<int64_t> pendingSeek_;  // the frame a seek waits for, decoded by the read-ahead
    bool playWhenOpen_ = false;
    bool waitingForPicture_ = false;
    QTimer primingTimer_;  // active while playing waits for frames before its clock starts
    PlaybackClock::Time primingSince_{0};

    int64_t position_ = 0;
    PlaybackMode mode_ = PlaybackMode::Stopped;
    int rate_ = kNormalRate;
    QSize area_;
    QImage picture_;
    PlaybackStats stats_;

    ReadAhead readAhead_;  // last: its worker stops before the rest goes
};

}  // namespace vistrel::player
