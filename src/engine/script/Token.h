#pragma once
// One token of the script language, with where it ends in the text (for the
// "line N, column C" of a syntax error).

#include <cstddef>
#include <cstdint>
#include <string>

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

}  // namespace vistrel::engine
