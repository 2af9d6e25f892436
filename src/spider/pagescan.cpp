#include "spider/pagescan.h"

#include <algorithm>
#include <cstring>

#include "app/text.h"

namespace qs {

size_t FindIgnoreCase(std::string_view text, std::string_view needle, size_t from) {
  if (needle.empty()) return from <= text.size() ? from : std::string_view::npos;
  if (from >= text.size() || text.size() - from < needle.size()) return std::string_view::npos;
  const char first = needle[0];
  const char firstUpper = (first >= 'a' && first <= 'z') ? static_cast<char>(first - 32) : first;
  const size_t last = text.size() - needle.size();
  for (size_t i = from; i <= last; ++i) {
    const char c = text[i];
    if (c != first && c != firstUpper) continue;
    size_t k = 1;
    while (k < needle.size() && AsciiLower(text[i + k]) == needle[k]) ++k;
    if (k == needle.size()) return i;
  }
  return std::string_view::npos;
}

std::optional<std::string> PageTitle(std::string_view page) {
  const size_t open = FindIgnoreCase(page, "<title>");
  const size_t close = FindIgnoreCase(page, "</title>");
  if (open == std::string_view::npos || close == std::string_view::npos) return std::nullopt;
  const size_t start = open + 7;
  if (close < start) return std::string();
  return std::string(page.substr(start, close - start));
}

namespace {

// The content of a meta tag: the text after its first content=" up to the next double
// quote. A tag is cut at its first ">", so a content holding ">" has no closing quote in
// the tag; the value then runs to the end of the tag, without the ">".
std::optional<std::string> ContentOf(std::string_view tag) {
  constexpr std::string_view kContent = "content=\"";
  const size_t p = FindIgnoreCase(tag, kContent);
  if (p == std::string_view::npos) return std::nullopt;
  const size_t start = p + kContent.size();
  size_t end = tag.find('"', start);
  if (end == std::string_view::npos) end = tag.size() - 1;  // the tag ends with its ">"
  return std::string(tag.substr(start, end - start));
}

}  // namespace

TPageMeta PageMetaTags(std::string_view page) {
  TPageMeta meta;
  size_t rest = 0;
  for (;;) {
    const size_t open = FindIgnoreCase(page, "<meta", rest);
    if (open == std::string_view::npos) break;
    const size_t close = page.find('>', open);
    if (close == std::string_view::npos) break;
    const std::string_view tag = page.substr(open, close + 1 - open);
    rest = close;
    // A description or keywords tag without content=" gives no value: the one an earlier
    // tag gave stays.
    if (FindIgnoreCase(tag, "name=\"description\"") != std::string_view::npos) {
      if (auto v = ContentOf(tag)) meta.description = std::move(v);
    }
    if (FindIgnoreCase(tag, "name=\"keywords\"") != std::string_view::npos) {
      if (auto v = ContentOf(tag)) meta.keywords = std::move(v);
    }
  }
  return meta;
}

int UrlLevel(std::string_view url) {
  const size_t mark = url.find("://");
  const size_t from = mark == std::string_view::npos ? 7 : mark + 3;
  if (url.size() <= from) return 1;
  const auto n = std::count(url.begin() + static_cast<long>(from), url.end(), '/');
  return n == 0 ? 1 : static_cast<int>(n);
}

}  // namespace qs
