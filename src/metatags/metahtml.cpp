#include "metatags/metahtml.h"

#include "app/text.h"

namespace qs {

namespace {

// The first position at or after `from` where `needle` (lower-case) occurs in `text`,
// ASCII letter case ignored.
size_t FindIgnoreCase(std::string_view text, std::string_view needle, size_t from) {
  if (needle.size() > text.size()) return std::string_view::npos;
  for (size_t i = from; i + needle.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < needle.size() && AsciiLower(text[i + k]) == needle[k]) ++k;
    if (k == needle.size()) return i;
  }
  return std::string_view::npos;
}

}  // namespace

std::string DeleteMetaTags(std::string_view source) {
  std::string text(source);
  constexpr std::string_view kMeta = "<meta";
  size_t from = 0;
  for (;;) {
    const size_t s = FindIgnoreCase(text, kMeta, from);
    if (s == std::string::npos) break;
    const size_t close = text.find('>', s + kMeta.size());
    size_t end = close == std::string::npos ? text.size() : close + 1;
    if (end < text.size() && text[end] == '\r') {
      ++end;
      if (end < text.size() && text[end] == '\n') ++end;
    } else if (end < text.size() && text[end] == '\n') {
      ++end;
    }
    text.erase(s, end - s);
    // What stood before the removed element may now begin a new "<meta" with what follows.
    from = s >= kMeta.size() - 1 ? s - (kMeta.size() - 1) : 0;
  }
  const size_t open = FindIgnoreCase(text, "<title>", 0);
  if (open != std::string::npos) {
    // The closing tag is looked for after the start tag: a stray "</title>" before it
    // would otherwise make a range that runs backwards.
    const size_t close = FindIgnoreCase(text, "</title>", open + 7);
    if (close != std::string::npos) text.erase(open, close + 8 - open);
  }
  return text;
}

std::string AsLineBreaks(std::string_view block) {
  std::string out;
  out.reserve(block.size() + block.size() / 16);
  for (size_t i = 0; i < block.size(); ++i) {
    const char c = block[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < block.size() && block[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string InsertAt(std::string_view text, size_t& caret, std::string_view insert) {
  size_t at = caret > text.size() ? text.size() : caret;
  while (at > 0 && at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) --at;
  std::string out;
  out.reserve(text.size() + insert.size());
  out.append(text.substr(0, at)).append(insert).append(text.substr(at));
  caret = at + insert.size();
  return out;
}

std::string InjectAfterHead(std::string_view text, std::string_view block, bool* injected) {
  if (injected) *injected = false;
  const size_t head = FindIgnoreCase(text, "<head", 0);
  if (head == std::string_view::npos) return std::string(text);
  const size_t close = text.find('>', head + 5);
  if (close == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size() + block.size() + 2);
  out.append(text.substr(0, close + 1)).append("\r\n").append(block).append(text.substr(close + 1));
  if (injected) *injected = true;
  return out;
}

}  // namespace qs
