#pragma once

#include <string>

namespace vistrel::model {

// Shows a message to the user and returns when it has been acknowledged
// (in the window: a modal box titled kMessageBoxTitle with one OK button).
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const std::string& text) = 0;
};

}  // namespace vistrel::model
