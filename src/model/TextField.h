#pragma once
// A single line of the edit's text (the overlap, the point count).

#include <functional>
#include <string>

namespace vistrel::model {

// One line of text of the edit that a window shows in a text box (the
// overlap, the point count). The window passes typing in with setText and
// shows the text it is told about through the change listener; a text set
// to what it already holds tells nobody, so the two never echo each other.
// The owner of the field (the edit) may hear of every change as well.
class TextField {
public:
    using Listener = std::function<void(const std::string&)>;

    explicit TextField(std::string text = {}, std::function<void()> ownerHears = {})
        : text_(std::move(text)), ownerHears_(std::move(ownerHears)) {}

    const std::string& text() const { return text_; }
    void setText(std::string text);
    void setListener(Listener listener) { listener_ = std::move(listener); }

private:
    std::string text_;
    Listener listener_;
    std::function<void()> ownerHears_;
};

}  // namespace vistrel::model
