#pragma once
// Splits a script into tokens on demand, so that a syntax error early in the
// script is reported before a bad character further down.
//
// Skipped between tokens: blanks, the three comment forms ("#" to the end of
// the line, "/* */", nestable "[* *]") and line continuations: a "\" as the
// last non-blank character of a line or the first of the next joins the two
// lines. A line ends at CR LF, LF or CR. "__END__" ends the script.

#include "engine/script/Token.h"

#include <string_view>

namespace vistrel::engine {

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
