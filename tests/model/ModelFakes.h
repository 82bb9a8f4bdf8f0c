#pragma once

// Recording stand-ins for what the edit's operations need from a window,
// and file helpers for the script tests.

#include "model/Edit.h"
#include "model/Ports.h"
#include "model/Scripts.h"

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vistrel::model {

// An edit's content as a failing test shows it: its script, then the switch list.
inline void PrintTo(const EditContent& content, std::ostream* out) {
    Edit edit;
    edit.replace(content);
    *out << "\n" << editScriptText(edit) << "switch points:";
    for (const auto& point : content.switchPoints) *out << " " << point;
}

}  // namespace vistrel::model

namespace vistrel::model::testing {

// Records every call as one text ("stop", "filename /x/intro.avs",
// "sendcommand seek to 00000300"); answers "status position" from a queue.
class RecordingPlayer : public PlayerControl {
public:
    std::vector<std::string> calls;
    std::deque<std::string> positionReplies;

    void filename(const std::string& path) override { calls.push_back("filename " + path); }
    void play() override { calls.push_back("play"); }
    void stop() override { calls.push_back("stop"); }
    std::string sendcommand(const std::string& command) override {
        calls.push_back("sendcommand " + command);
        if (command != kStatusPositionCommand || positionReplies.empty()) return {};
        std::string reply = positionReplies.front();
        positionReplies.pop_front();
        return reply;
    }
};

// Answers each use from a queue; std::nullopt (or an empty queue) is a cancel.
class QueuedFileDialog : public FileDialog {
public:
    std::deque<std::optional<std::string>> answers;
    int timesShown = 0;
    std::string startsAt;                                 // what startAt gave last
    std::deque<std::vector<std::string>> severalAnswers;  // for chooseSeveral before `answers`

    void startAt(const std::string& path) override { startsAt = path; }
    std::vector<std::string> chooseSeveral() override {
        if (severalAnswers.empty()) return FileDialog::chooseSeveral();
        ++timesShown;
        auto answer = severalAnswers.front();
        severalAnswers.pop_front();
        return answer;
    }

    std::optional<std::string> choose() override {
        ++timesShown;
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class RecordingMessages : public MessageSink {
public:
    std::vector<std::string> shown;
    void showMessage(const std::string& text) override { shown.push_back(text); }
};

// Answers each question from a queue and records its text; with the queue
// empty, a question gets its escape answer (or else its default one).
class QueuedQuestions : public QuestionBox {
public:
    std::deque<int> answers;
    std::vector<std::string> asked;

    int ask(const Question& question) override {
        asked.push_back(question.text);
        if (answers.empty()) return question.escapeAnswer >= 0 ? question.escapeAnswer : question.defaultAnswer;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace vistrel::model::testing
