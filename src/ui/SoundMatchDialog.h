#pragma once
// "Match start frames by sound" from the main window: the clips' sound read
// and matched by vistrel-sync in a process of its own (ProgramProcess), so
// that the window goes on answering, a decoder that fails on a damaged file
// cannot take the editor down, and the many threads that read the sound keep
// the heap of a process that is not the player's. A progress dialog shows
// how far it got; Cancel (or the close box) stops it. At the end the dialog
// closes and hands what was found to the window, or the message sink says
// why nothing was found. It deletes itself when it closes.

#include "model/Ports.h"
#include "sync/StartFrameMatch.h"
#include "ui/ProgramProcess.h"

#include <QByteArray>
#include <QProgressDialog>

#include <functional>
#include <string>
#include <vector>

namespace vistrel::ui {

class SoundMatchDialog : public QProgressDialog {
    Q_OBJECT
public:
    using Found = std::function<void(const std::vector<std::string>& clips, const sync::MatchedAngles& found)>;

    // Starts matching clips (angle A first) against angle A, or against the
    // sound recording when one is given.
    SoundMatchDialog(QWidget& window, std::vector<std::string> clips, const std::string& recording,
                     model::MessageSink& messages, Found found);

    // The window is going away: the job stops and reports nothing.
    void abandon();

private:
    void readLine(const QString& line);
    void finished(bool succeeded, const QString& error);
    void end(const sync::MatchedAngles* found, const QString& error);

    std::vector<std::string> clips_;
    model::MessageSink* messages_;
    Found found_;
    QByteArray report_;  // vistrel-sync's JSON, as it arrives
    bool ended_ = false;
    ProgramProcess process_;
};

}  // namespace vistrel::ui
