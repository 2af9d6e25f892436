#include "ranking/zparser.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "app/text.h"

namespace qs {

namespace {

constexpr std::string_view kOperators = "+-*/^";

bool IsOperator(char c) { return kOperators.find(c) != std::string_view::npos; }

long double Finite(long double value) {
  if (!std::isfinite(value)) throw EparserError("floating point overflow");
  return value;
}

// Optional sign, digits with an optional decimal point (at least one digit), an optional
// exponent. Anything else ("inf", "nan", hexadecimal) is no number here.
bool IsDecimalNumber(std::string_view s) {
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < s.size() && s[i] == 'e') {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t expDigits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == s.size();
}

long double Number(std::string_view s) {
  if (s.empty()) throw EparserError("syntax error");
  const std::string failure = "'" + std::string(s) + "' is not a valid floating point value";
  if (!IsDecimalNumber(s)) throw EparserError(failure);
  const bool negative = s.front() == '-';
  std::string_view digits = (s.front() == '-' || s.front() == '+') ? s.substr(1) : s;
  long double value = 0;
  // from_chars does not depend on the process locale, unlike strtold.
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                         std::chars_format::general);
  if (ec != std::errc() || end != digits.data() + digits.size()) throw EparserError(failure);
  return negative ? -value : value;
}

// The position of the matching ")" of the "(" at `open`, or npos.
size_t MatchingParenthesis(std::string_view s, size_t open) {
  int level = 1;
  for (size_t j = open + 1; j < s.size(); ++j) {
    if (s[j] == '(') ++level;
    else if (s[j] == ')' && --level == 0) return j;
  }
  return std::string_view::npos;
}

// The split operator: the first of + - * / ^ that occurs outside parentheses, taking only the
// first such occurrence of each. A + or - that begins the text or follows another operator
// is a sign and rules that operator out.
//
// Operators inside parentheses are never split on. Limiting the search to the text before
// the first "(" instead (and splitting a text that begins with a parenthesis right after
// it) would make ($curpage-1)*10+1 mean ($curpage-1)*(10+1) and 2*(3+4)+1 mean 2*((3+4)+1);
// the engine data relies on such expressions meaning ordinary arithmetic.
size_t SplitOperator(std::string_view s) {
  for (char op : kOperators) {
    int level = 0;
    size_t at = std::string_view::npos;
    for (size_t j = 0; j < s.size(); ++j) {
      const char c = s[j];
      if (c == '(') ++level;
      else if (c == ')') { if (level > 0) --level; }
      else if (c == op && level == 0) { at = j; break; }
    }
    if (at == std::string_view::npos) continue;
    if ((op == '+' || op == '-') && (at == 0 || IsOperator(s[at - 1]))) continue;
    return at;
  }
  return std::string_view::npos;
}

long double Evaluate(std::string_view s, int depth);

long double Split(std::string_view s, size_t k, int depth) {
  const char op = s[k];
  if (!IsOperator(op)) throw EparserError("invalid operation " + std::string(s));
  const long double a = Evaluate(s.substr(0, k), depth + 1);
  const long double b = Evaluate(s.substr(k + 1), depth + 1);
  switch (op) {
    case '+': return Finite(a + b);
    case '-': return Finite(a - b);
    case '*': return Finite(a * b);
    case '/':
      if (b == 0) throw EparserError("division by zero");
      return Finite(a / b);
    default:  // '^', as e^(b·ln a)
      if (a <= 0) throw EparserError("power of a non-positive number");
      return Finite(std::exp(b * std::log(a)));
  }
}

long double Function(std::string_view name, long double x, std::string_view s) {
  if (name == "sin") return std::sin(x);
  if (name == "cos") return std::cos(x);
  if (name == "tan") return Finite(std::tan(x));
  if (name == "arctan") return std::atan(x);
  if (name == "log" || name == "ln") {
    if (x <= 0) throw EparserError("logarithm of a non-positive number");
    return name == "ln" ? std::log(x) : std::log10(x);
  }
  if (name == "exp") return Finite(std::exp(x));
  if (name == "sqrt") {
    if (x < 0) throw EparserError("square root of a negative number");
    return std::sqrt(x);
  }
  throw EparserError("unknown function " + std::string(s));
}

long double Evaluate(std::string_view s, int depth) {
  if (depth > kMaxExpressionDepth) throw EparserError("expression too deeply nested");
  const size_t q = s.find('(');
  size_t m = std::string_view::npos;
  if (q != std::string_view::npos) {
    m = MatchingParenthesis(s, q);
    if (m == std::string_view::npos) throw EparserError("missing ')'");
    if (q == 0 && m == s.size() - 1) return Evaluate(s.substr(1, s.size() - 2), depth + 1);
  }
  if (const size_t k = SplitOperator(s); k != std::string_view::npos) return Split(s, k, depth);
  if (q == std::string_view::npos) return Number(s);
  if (m + 1 < s.size()) return Split(s, m + 1, depth);  // no operator there: fails
  const long double x = Evaluate(s.substr(q + 1, m - q - 1), depth + 1);
  return Function(s.substr(0, q), x, s);
}

}  // namespace

long double EvaluateExpression(std::string_view expression) {
  std::string s;
  s.reserve(expression.size());
  for (char c : expression)
    if (c != ' ') s.push_back(AsciiLower(c));
  return Evaluate(s, 0);
}

std::string FormatExpressionValue(long double value) {
  if (value == 0) return "0";  // also for -0
  char buffer[64];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  if (ec != std::errc()) return "0";
  return std::string(buffer, end);
}

std::string PageExpressionValue(std::string_view expression) {
  try {
    return FormatExpressionValue(EvaluateExpression(expression));
  } catch (const EparserError& e) {
    return e.what();
  }
}

}  // namespace qs
