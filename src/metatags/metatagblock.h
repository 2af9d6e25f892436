// The HTML of meta tags: one tag line per tag, and the block of a project's included tags
// that the HTML tools paste and inject and the doorway pages carry.
#pragma once

#include <string>
#include <string_view>

#include "metatags/metacatalogue.h"
#include "projects/domainstore.h"

namespace qs {

// "<TITLE>value</TITLE>" for the name exactly "Title", otherwise
// <META type="name" CONTENT="value">. The value goes in unchanged.
std::string TagLine(std::string_view name, std::string_view value, std::string_view type);

// The key of a tag's include flag in the project's MetaTags section.
inline std::string IncludeKey(std::string_view name) { return std::string(name) + "ck"; }

// A stored include flag: a number other than 0. Anything else (missing, empty, not a
// number) is "not included".
bool IncludeFlagSet(std::string_view stored);

// The tag lines of the project's included tags in catalogue order, each followed by
// `lineEnd` (one carriage return where the editor shows the block). Built from the stored
// values and flags; no project (an empty key) gives an empty block.
std::string MetaTagBlock(const TMetaCatalogue& catalogue, const TDomainStore& store,
                         std::string_view domain, std::string_view projectKey,
                         std::string_view lineEnd = "\r");

}  // namespace qs
