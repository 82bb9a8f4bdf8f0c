#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vistrel::model {

// A question with two or three answers, asked modally (in the window: a box
// titled "Vistrel" with one button per answer, left to right).
struct Question {
    std::string text;
    std::vector<std::string> answers;
    int defaultAnswer = 0;
    // The answer that Escape gives; -1 when Escape gives none.
    int escapeAnswer = -1;
};

// Asks a question and returns the row of the answer chosen. A box closed
// without a choice answers its escape answer, or else its default one.
class QuestionBox {
public:
    virtual ~QuestionBox() = default;
    virtual int ask(const Question& question) = 0;
};

namespace questions {

enum SaveAnswer { save = 0, discard = 1, cancel = 2 };
enum RestoreAnswer { restore = 0, discardKept = 1 };
enum YesNoAnswer { yes = 0, no = 1 };

inline const Question kSaveBeforeClosing{"Save the edit before closing?", {"Save", "Discard", "Cancel"}, save, cancel};
inline const Question kSaveBeforeOpening{
    "Save the edit before opening another?", {"Save", "Discard", "Cancel"}, save, cancel};
inline const Question kRestoreKeptEdit{
    "Vistrel did not close normally. Restore the edit you were working on?", {"Restore", "Discard"}, restore, -1};

inline Question conformQuestion(std::string text) { return {std::move(text), {"Yes", "No"}, yes, no}; }

}  // namespace questions
}  // namespace vistrel::model
