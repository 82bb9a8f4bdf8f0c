#pragma once
// Reads a whole script into statements before any of it runs, so that a
// syntax error anywhere stops the script before it starts. Recursive descent,
// one function per precedence level:
//
//   statement := name "=" expr | "global" name "=" expr | "return" expr | expr
//   expr      := or ["?" expr ":" expr]
//   or        := and {"||" and}          and := comparison {"&&" comparison}
//   comparison:= sum {("==" | "!=" | "<>" | "<" | ">" | "<=" | ">=") sum}
//   sum       := product {("+" | "-" | "++") product}
//   product   := unary {("*" | "/" | "%") unary}
//   unary     := {"+"} ("-" unary | "!" unary | postfix)
//   postfix   := primary {"." name ["(" args ")"]}
//   primary   := name ["(" args ")"] | literal | "(" expr ")"
//   args      := [[name "="] expr {"," [name "="] expr}]
//
// A statement ends where the next one begins: at a line end, or at a token
// that cannot continue it ("a=1 b=2" is two statements).

#include "engine/script/Ast.h"

#include <string_view>

namespace vistrel::engine {

// Throws SyntaxError.
Program parseScript(std::string_view text);

}  // namespace vistrel::engine
