// Resolving a link of a fetched page against the page's address, as the site import does:
// a small set of text rules, not a general URL resolver.
#pragma once

#include <string>
#include <string_view>

namespace qs {

// The address the link `link` of the page at `base` leads to, or an empty text when it
// leaves the site or is not an http or https link; a link without a scheme takes the page's.
// Relative links keep only their last "../" (the path continues at the site's root) and
// their text after the first "./" (the path continues in the page's folder); an index.* or
// default.* file name is dropped, leaving its folder.
std::string ResolveLink(std::string_view link, std::string_view base);

}  // namespace qs
