#include "engine/script/Tokenizer.h"

#include "engine/script/Names.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace vistrel::engine {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isWordChar(char c) { return c == '_' || isLetter(c) || isDigit(c); }
bool isLineBreak(char c) { return c == '\n' || c == '\r'; }

int hexDigitValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Line breaks in [from, to), with CR LF and LF CR counted once.
int countLineBreaks(std::string_view text, size_t from, size_t to) {
    int count = 0;
    for (size_t i = from; i < to; ++i) {
        if (!isLineBreak(text[i])) continue;
        ++count;
        if (i + 1 < to && isLineBreak(text[i + 1]) && text[i + 1] != text[i]) ++i;
    }
    return count;
}

// One character as it appears in the text: a whole UTF-8 sequence when it starts one.
std::string characterAt(std::string_view text, size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    size_t length = 1;
    if (lead >= 0xF0)
        length = 4;
    else if (lead >= 0xE0)
        length = 3;
    else if (lead >= 0xC0)
        length = 2;
    return std::string(text.substr(pos, length));
}

}  // namespace

int columnAt(std::string_view text, size_t offset) {
    size_t start = offset;
    while (start > 0 && !isLineBreak(text[start - 1])) --start;
    return static_cast<int>(offset - start);
}

char Tokenizer::peek(size_t ahead) const {
    const size_t at = pos_ + ahead;
    return at < text_.size() ? text_[at] : '\0';
}

void Tokenizer::fail(const std::string& message) const { throw SyntaxError(message, line_, columnAt(text_, pos_)); }

void Tokenizer::skipBlanks() {
    while (peek() == ' ' || peek() == '\t') ++pos_;
}

void Tokenizer::skipLineBreak() {
    if (!atLineBreak()) return;
    const char first = peek();
    ++pos_;
    ++line_;
    if (isLineBreak(peek()) && peek() != first) ++pos_;
}

// After a line break: blank lines, then a "\" that continues the statement?
bool Tokenizer::skipContinuationAfterBreak() {
    const size_t savedPos = pos_;
    const int savedLine = line_;
    do {
        skipLineBreak();
        skipBlanks();
    } while (atLineBreak());
    if (peek() == '\\') {
        ++pos_;
        return true;
    }
    pos_ = savedPos;
    line_ = savedLine;
    return false;
}

void Tokenizer::skipBlockComment() {
    const size_t close = text_.find("*/", pos_ + 2);
    if (close == std::string_view::npos) fail("Parse error: block comment missing closing */");
    line_ += countLineBreaks(text_, pos_, close);
    pos_ = close + 2;
}

void Tokenizer::skipNestableComment() {
    int depth = 0;
    size_t at = pos_;
    while (at + 1 < text_.size()) {
        if (text_[at] == '[' && text_[at + 1] == '*') {
            ++depth;
            at += 2;
        } else if (text_[at] == '*' && text_[at + 1] == ']') {
            at += 2;
            if (--depth == 0) {
                line_ += countLineBreaks(text_, pos_, at);
                pos_ = at;
                return;
            }
        } else {
            ++at;
        }
    }
    fail("Parse error: nestable block comment missing closing *]");
}

void Tokenizer::skipIgnored() {
    for (;;) {
        skipBlanks();
        const char c = peek();
        if (c == '\\') {
            ++pos_;
            skipBlanks();
            if (!atLineBreak()) fail("Script error: `\\' can only appear at the beginning or end of a line");
            skipLineBreak();
        } else if (isLineBreak(c)) {
            if (!skipContinuationAfterBreak()) return;
        } else if (c == '#') {
            while (pos_ < text_.size() && !atLineBreak()) ++pos_;
            return;
        } else if (c == '/' && peek(1) == '*') {
            skipBlockComment();
        } else if (c == '*' && peek(1) == '/') {
            fail("Parse error: orphan block comment closing */");
        } else if (c == '[' && peek(1) == '*') {
            skipNestableComment();
        } else if (c == '*' && peek(1) == ']') {
            fail("Parse error: orphan nestable block comment closing *]");
        } else {
            return;
        }
    }
}

Token Tokenizer::make(TokenKind kind, std::string text) {
    Token token;
    token.kind = kind;
    token.text = std::move(text);
    token.line = line_;
    token.end = pos_;
    return token;
}

Token Tokenizer::next() {
    skipIgnored();
    const char c = peek();
    if (pos_ >= text_.size() || c == '\0') return make(TokenKind::End);
    if (isLineBreak(c)) {
        const int line = line_;
        skipLineBreak();
        Token token = make(TokenKind::Newline);
        token.line = line;
        return token;
    }
    if (isDigit(c) || (c == '.' && isDigit(peek(1)))) return readNumber();
    if (c == '$') return readHexNumber();
    if (c == '"') return readString();
    if (c == '_' || isLetter(c)) return readWord();
    return readOperator();
}

Token Tokenizer::readNumber() {
    const size_t start = pos_;
    while (isDigit(peek())) ++pos_;
    bool isFloat = false;
    if (peek() == '.') {
        isFloat = true;
        ++pos_;
        while (isDigit(peek())) ++pos_;
    }
    const std::string_view digits = text_.substr(start, pos_ - start);
    double value = 0.0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    // A whole number too large for a 32-bit int is read as a float.
    if (!isFloat && value <= std::numeric_limits<int32_t>::max()) {
        Token token = make(TokenKind::Int);
        token.intValue = static_cast<int32_t>(value);
        return token;
    }
    Token token = make(TokenKind::Float);
    token.floatValue = value;
    return token;
}

Token Tokenizer::readHexNumber() {
    ++pos_;  // the '$'
    uint32_t value = 0;
    do {
        const int digit = hexDigitValue(peek());
        if (digit < 0) fail("$ must be followed by a hexadecimal number");
        value = value * 16 + static_cast<uint32_t>(digit);
        ++pos_;
    } while (isLetter(peek()) || isDigit(peek()));
    Token token = make(TokenKind::Int);
    token.intValue = static_cast<int32_t>(value);
    return token;
}

Token Tokenizer::readString() {
    const bool tripleQuoted = peek(1) == '"' && peek(2) == '"';
    const size_t contentStart = pos_ + (tripleQuoted ? 3 : 1);
    size_t contentEnd;
    size_t after;
    if (tripleQuoted) {
        contentEnd = text_.find("\"\"\"", contentStart);
        if (contentEnd == std::string_view::npos) fail("Parse error: string missing closing quotation marks");
        // Quotes beyond the closing three belong to the string: """a""""" is a".
        while (contentEnd + 3 < text_.size() && text_[contentEnd + 3] == '"') ++contentEnd;
        after = contentEnd + 3;
    } else {
        contentEnd = text_.find('"', contentStart);
        if (contentEnd == std::string_view::npos) fail("Parse error: string missing closing quotation mark");
        after = contentEnd + 1;
    }
    line_ += countLineBreaks(text_, contentStart, contentEnd);
    pos_ = after;
    return make(TokenKind::String, std::string(text_.substr(contentStart, contentEnd - contentStart)));
}

Token Tokenizer::readWord() {
    const size_t start = pos_;
    while (isWordChar(peek())) ++pos_;
    const std::string_view word = text_.substr(start, pos_ - start);
    if (sameName(word, "__END__")) {
        pos_ = text_.size();
        return make(TokenKind::End);
    }
    for (auto [spelling, value] : {std::pair{"true", true}, {"yes", true}, {"false", false}, {"no", false}}) {
        if (sameName(word, spelling)) {
            Token token = make(TokenKind::Bool, std::string(word));
            token.boolValue = value;
            return token;
        }
    }
    return make(TokenKind::Name, std::string(word));
}

Token Tokenizer::readOperator() {
    static constexpr std::string_view kPairs[] = {"<=", "<>", ">=", "!=", "==", "++", "&&", "||"};
    static constexpr std::string_view kSingles = "<>!=+&|{}()[],?:-*/%.";
    for (std::string_view pair : kPairs) {
        if (text_.substr(pos_, 2) == pair) {
            pos_ += 2;
            return make(TokenKind::Operator, std::string(pair));
        }
    }
    const char c = peek();
    if (kSingles.find(c) == std::string_view::npos) fail("unexpected character \"" + characterAt(text_, pos_) + "\"");
    ++pos_;
    return make(TokenKind::Operator, std::string(1, c));
}

}  // namespace vistrel::engine
