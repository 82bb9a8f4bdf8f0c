#pragma once

#include <string>
#include <string_view>

namespace vistrel::model {

// The text of a script built line by line in memory; every line, the last
// one included, ends with CR LF.
class ScriptText {
public:
    ScriptText& line(std::string_view text);
    ScriptText& emptyLine() { return line({}); }

    const std::string& text() const { return text_; }
    int lineCount() const { return lineCount_; }

private:
    std::string text_;
    int lineCount_ = 0;
};

}  // namespace vistrel::model
