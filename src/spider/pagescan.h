// What the site import reads from a fetched page: the title, the description and keywords
// meta tags, and the level of the page's address.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qs {

// The first occurrence of `needle` in `text` at or after `from`, ASCII letter case ignored;
// `needle` must be written in lower case. npos when there is none.
size_t FindIgnoreCase(std::string_view text, std::string_view needle, size_t from = 0);

// The text between the first "<title>" and the first "</title>" (found ignoring case), as it
// stands; empty when the end tag comes first. None unless the page holds both tags.
std::optional<std::string> PageTitle(std::string_view page);

struct TPageMeta {
  std::optional<std::string> description, keywords;
};

// The description and keywords of the page's meta tags; a later tag of a name replaces the
// value of an earlier one.
TPageMeta PageMetaTags(std::string_view page);

// The number of "/" in `url` after its "://" (from the 8th character on when it has none), or
// 1 when there is none.
int UrlLevel(std::string_view url);

}  // namespace qs
