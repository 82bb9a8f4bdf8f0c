#pragma once

#include <string>

namespace vistrel::model {

// Shows a message to the user and returns when it has been acknowledged
// (in the window: a modal box titled messageBoxTitle with one OK button).
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const std::string& text) = 0;
};

// Asks the user something to be answered yes or no, and returns true for
// yes (in the window: a modal box titled messageBoxTitle with Yes and No).
class Question {
public:
    virtual ~Question() = default;
    virtual bool ask(const std::string& text) = 0;
};

}  // namespace vistrel::model
