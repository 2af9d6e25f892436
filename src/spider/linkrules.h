// Which resolved links the site import queues: the spider options' tests besides the
// duplicate test.
#pragma once

#include <string>
#include <string_view>

#include "projects/newproject.h"

namespace qs {

// The extensions the filter "All" accepts.
inline constexpr std::string_view kAllExtensions[] = {".htm", ".html", ".asp", ".php",
                                                      ".cfm", ".shtml", ".shtm"};

// True when `url` ends with an accepted extension whose first occurrence in it is that end
// (letter case significant): with the filter "All" any of kAllExtensions, otherwise only
// the filter's own text.
bool HasAcceptedExtension(std::string_view url, std::string_view filter);

// The spider options' levels deep and maximum pages as numbers. A field that is empty or
// holds anything but a whole number throws ConversionError ("'x' is not a valid integer
// value").
struct TSpiderLimits {
  int levelsDeep = 0;
  int maxPages = 0;
};
TSpiderLimits SpiderLimits(const TSpiderOptions& options);

}  // namespace qs
