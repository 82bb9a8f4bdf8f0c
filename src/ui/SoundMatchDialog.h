#pragma once
// "Match start frames by sound" from the main window: the clips' sound read
// and matched on a thread of its own while a progress dialog shows how far
// it got, so that the window goes on answering. Cancel (or the close box)
// stops the job. At the end the dialog closes and hands what was found to
// the window, or the message sink says why nothing was found. It deletes
// itself when it closes.

#include <QProgressDialog>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "model/Ports.h"
#include "sync/StartFrameMatch.h"

namespace vistrel::ui {

class SoundMatchDialog : public QProgressDialog {
    Q_OBJECT
public:
    using Found = std::function<void(const std::vector<std::string>& clips, const sync::MatchedAngles& found)>;

    // Starts matching clips (angle A first).
    SoundMatchDialog(QWidget& window, std::vector<std::string> clips, model::MessageSink& messages, Found found);
    // Stops the job and waits for its thread: at most the reading of one
    // second of sound, or the correlating once all is read.
    ~SoundMatchDialog() override;

    // The window is going away: the job stops and reports nothing.
    void abandon();

private:
    void run();
    void end(const sync::MatchedAngles* found, const QString& error);

    std::vector<std::string> clips_;
    model::MessageSink* messages_;
    Found found_;
    std::atomic<bool> stopping_ = false;
    bool ended_ = false;
    std::thread job_;  // last: started once everything it uses exists
};

}  // namespace vistrel::ui
