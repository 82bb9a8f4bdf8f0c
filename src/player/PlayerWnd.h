#pragma once
// The clip player: a picture area over a control bar, showing one video file
// or `.avs` script through the script engine.
//
// Callers drive it through the members the windows were written against:
// `filename` opens a file, `rate` sets the speed in thousandths of normal,
// `play` and `stop`, `sendcommand` answers the MCI command texts ("status
// position", "seek to N", "play", "pause", "stop", "status length", "status
// mode"; anything else answers ""), and `positionchange` reports each new
// frame shown. The same operations exist under Qt's usual names.
//
// With the focus on the player: Space plays or pauses, Left/Right step one
// frame, Page Up/Page Down ten frames back/forward, Home/End go to the first
// and last frame (keyHelp lists them). A click anywhere on the player gives it the focus and does
// nothing more on the picture.
//
// Every member runs on the UI thread and answers at once. A seek shows its
// frame at once when it was decoded ahead, and otherwise when the worker has
// decoded it; "status position" and `positionchange` always give the frame
// on screen, and "seek to N wait" (MCI's wait flag) returns once frame N is
// shown. A file whose index must first be built opens in the background,
// showing its progress; meanwhile it reports position 0 (or the frame a seek
// asked for) and plays once it is open.

#include "player/ColumnMarks.h"
#include "player/Playback.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <cstdint>

namespace vistrel::player {

class ControlBar;
class VideoView;

class PlayerWnd : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool autosize READ autosize WRITE setAutosize)
    Q_PROPERTY(int volume READ volume WRITE setVolume)
    Q_PROPERTY(int borderstyle READ borderstyle WRITE setBorderstyle)

public:
    static constexpr int kDefaultRate = Playback::kNormalRate;
    static constexpr int kDefaultVolume = 100;

    explicit PlayerWnd(QWidget* parent = nullptr);
    PlayerWnd(PlaybackDependencies dependencies, QWidget* parent = nullptr);
    ~PlayerWnd() override;

    // ---- The contract ----
    // Closes the open file and opens path, showing its first frame.
    void filename(const QString& path);
    // Playback speed in thousandths of normal: 1000 normal, 0 holds the picture.
    void rate(int thousandths);
    void play();
    void stop();
    // One MCI command text; the reply, or "" for a command without one.
    QString sendcommand(const QString& command);

    // ---- The same, and more, the Qt way ----
    void setFileName(const QString& path) { filename(path); }
    QString fileName() const { return fileName_; }
    void setRate(int thousandths) { rate(thousandths); }
    int playbackRate() const { return playback_.rate(); }
    void pause();
    void togglePlay();
    void seek(int64_t frame);
    void step(int64_t frames);

    int64_t position() const { return playback_.position(); }
    int64_t frameCount() const { return playback_.frameCount(); }
    PlaybackMode mode() const { return playback_.mode(); }
    bool isOpen() const { return playback_.isOpen(); }
    bool isOpening() const { return playback_.isOpening(); }
    // A seek waits for its frame; `finishSeek` waits for it.
    bool isSeeking() const { return playback_.isSeeking(); }
    void finishSeek() { playback_.finishSeek(); }
    // A play waits for a few frames to be decoded before its clock starts.
    bool isPriming() const { return playback_.isPriming(); }
    // Why the last file could not be opened; empty when it opened.
    QString errorMessage() const { return playback_.errorMessage(); }
    // Shows a message on the card in place of any file, e.g. why a file could not be made.
    void showError(const QString& message) { playback_.showError(message); }
    PlaybackStats stats() const { return playback_.stats(); }
    // Where the frame is drawn, in this widget's coordinates.
    QRect pictureRect() const;
    // The line shown instead of a picture while a file opens.
    QString message() const;
    // Labels and a frame over the columns of the picture, drawn on the screen
    // only; opening another file clears them.
    void setColumnMarks(const ColumnMarks& marks);
    const ColumnMarks& columnMarks() const;

    // The player's own keys, as the windows list them for the user.
    struct KeyHelp {
        QString key;
        QString action;
    };
    static QList<KeyHelp> keyHelp();

    // ---- Settings the windows create the player with ----
    bool autosize() const { return autosize_; }
    void setAutosize(bool on);
    int volume() const { return volume_; }
    void setVolume(int percent);
    // 0: no border; 1: a single line around the player.
    int borderstyle() const { return borderstyle_; }
    void setBorderstyle(int style);

    QSize sizeHint() const override;

signals:
    // The frame shown changed: by playing, seeking, stepping or the slider.
    void positionchange(int frame);
    // A file given to `filename` opened (true) or failed to (false).
    void opened(bool ok);
    void modeChanged(vistrel::player::PlaybackMode mode);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void wire();
    // The picture area: everything inside the border above the control bar.
    QRect videoArea() const;
    void layoutChildren();
    void showPosition();
    void fitToClip();

    VideoView* view_;  // children, owned by Qt
    ControlBar* bar_;
    Playback playback_;

    QString fileName_;
    bool autosize_ = false;
    int volume_ = kDefaultVolume;
    int borderstyle_ = 0;
};

}  // namespace vistrel::player
