// Z_parser: the page expression evaluator of the ranking engines. An engine's `page` value is
// an arithmetic expression over the page number ("($curpage-1)*10+1"); its value goes into
// the engine's query URL.
//
// Grammar, as the engine data is written for it: letters are lower-cased and blanks removed;
// a split operator is searched outside parentheses in the order + - * / ^, taking the first
// occurrence of each, so operators group to the right (10-5-2 is 10-(5-2) = 7); a + or - at
// the start or right after another operator is a sign, and that operator is then not tried
// at all; a ^ b is e^(b·ln a); sin, cos, tan, arctan (radians), log (base 10), ln, exp and
// sqrt take one parenthesised argument.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace qs {

// Every failure of the evaluator: a syntax fault, a text that is no number, an arithmetic
// fault. The text is what stands in the URL instead of a value.
class EparserError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Nesting deeper than this (parentheses and operators together) fails instead of exhausting
// the stack. An engine's expression is one INI line of at most 255 bytes.
inline constexpr int kMaxExpressionDepth = 300;

// The value of the expression; throws EparserError.
long double EvaluateExpression(std::string_view expression);

// The shortest general form of a value with up to 15 significant digits ("0", "10", "1.5").
std::string FormatExpressionValue(long double value);

// The text that replaces $page: the formatted value, or the failure's text.
std::string PageExpressionValue(std::string_view expression);

}  // namespace qs
