#pragma once
// Reading a script's text: its tokens (`Token`), the error for text that
// cannot be read (`SyntaxError`), and the `Tokenizer` that splits it.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vistrel::engine {

enum class TokenKind { Name, Int, Float, String, Bool, Operator, Newline, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;  // a name, the contents of a string, or an operator ("==", "(")
    int32_t intValue = 0;
    double floatValue = 0.0;
    bool boolValue = false;
    int line = 1;    // 1-based; a newline token has the line it ends
    size_t end = 0;  // offset in the text just past the token

    bool isOperator(std::string_view op) const { return kind == TokenKind::Operator && text == op; }
};

// A script that cannot be read: the message and the place, before any line of
// it runs. Turned into a ScriptError with "(<path>, line N, column C)".
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

// Splits a script into tokens on demand, so that a syntax error early in the
// script is reported before a bad character further down.
//
// Skipped between tokens: blanks, the three comment forms ("#" to the end of
// the line, "/* */", nestable "[* *]") and line continuations: a "\" as the
// last non-blank character of a line or the first of the next joins the two
// lines. A line ends at CR LF, LF or CR. "__END__" ends the script.
class Tokenizer {
public:
    explicit Tokenizer(std::string_view text) : text_(text) {}

    // The next token; End at the end of the script and after it. Throws SyntaxError.
    Token next();

private:
    char peek(size_t ahead = 0) const;
    bool atLineBreak() const { return peek() == '\n' || peek() == '\r'; }
    void skipBlanks();
    void skipLineBreak();
    void skipIgnored();
    bool skipContinuationAfterBreak();
    void skipBlockComment();
    void skipNestableComment();

    Token readNumber();
    Token readHexNumber();
    Token readString();
    Token readWord();
    Token readOperator();
    Token make(TokenKind kind, std::string text = {});
    [[noreturn]] void fail(const std::string& message) const;

    std::string_view text_;
    size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace vistrel::engine
