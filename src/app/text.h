// Byte-level text helpers shared by every subsystem. Texts are std::string holding UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qs {

// Letter case is ignored for the ASCII letters only; every other byte compares exactly.
inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
inline bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}
bool LessIgnoreCase(std::string_view a, std::string_view b);

// Length of the longest prefix of `text` of at most `limit` bytes that does not end inside
// a UTF-8 sequence. Bytes that are not valid UTF-8 are cut as single bytes.
size_t Utf8CutLength(std::string_view text, size_t limit);

// `text` cut to at most `limit` bytes at a UTF-8 boundary.
inline std::string_view CutUtf8(std::string_view text, size_t limit) {
  return text.substr(0, Utf8CutLength(text, limit));
}

// The lines of a text: a line ends at CR LF, at LF or at a lone CR; a line break at the very
// end adds no empty line.
std::vector<std::string_view> SplitLines(std::string_view text);

// Every occurrence of `from` replaced by `to`, letter case significant.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// The text as HTML text or attribute value: "&", "\"", "<" and ">" become entities, so that
// text from outside can neither end an attribute nor make markup of its own.
std::string HtmlEscaped(std::string_view value);

}  // namespace qs
