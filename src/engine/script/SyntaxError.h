#pragma once
// A script that cannot be read: the message and the place, before any line of
// it runs. Turned into a ScriptError with "(<path>, line N, column C)".

#include <stdexcept>
#include <string>

namespace vistrel::engine {

class SyntaxError : public std::runtime_error {
public:
    SyntaxError(const std::string& message, int line, int column)
        : std::runtime_error(message), line_(line), column_(column) {}

    int line() const { return line_; }
    int column() const { return column_; }

private:
    int line_;
    int column_;
};

// Characters from the start of the line that holds offset up to offset.
int columnAt(std::string_view text, size_t offset);

}  // namespace vistrel::engine
