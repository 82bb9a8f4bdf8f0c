#pragma once
// Script text as the editor writes it, line by line with CR LF endings, and
// the arithmetic of the edit's segment trims.

#include <cstdint>
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

// A value rounded to the nearest integer, halves to the even neighbour
// (280.5 -> 280, 281.5 -> 282), held at the int64 limits when beyond them.
std::int64_t roundHalfToEven(double value);

// First frame of the segment that follows a switch point at nextFrame: the
// crossfade of `overlap` frames ends with the switch point's own frame.
std::int64_t segmentStart(double nextFrame, double overlap);

}  // namespace vistrel::model
