// The links of a fetched page, as the site import collects them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qs {

// Every tag whose name begins with "a" ("<a" in any letter case, through the first ">")
// that holds href=" gives the text after it up to the next double quote, in page order,
// repeats kept. Single-quoted and unquoted hrefs are not collected.
std::vector<std::string> ExtractLinks(std::string_view page);

}  // namespace qs
