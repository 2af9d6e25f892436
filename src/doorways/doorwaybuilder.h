// A doorway page from a template: the placeholders replaced, in a fixed order, by the
// project's values, the three content blocks, the navigation, the redirect script and the
// table, colour and font options.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/appstate.h"

namespace qs {

// The project values a page is built from; all empty without a current project.
struct TDoorwayProject {
  std::string url;        // the project's stored url
  std::string editorUrl;  // the URL shown in the project editor: the links' target
  std::string title, description, copyright, keywords;  // MetaTags values
  std::string metaTags;   // the meta tag block, CR LF after each tag line
};

// "#RRGGBB" of a 0x00BBGGRR colour.
std::string ColourToHtml(uint32_t colour);
// The HTML font size of a size in points: points - 10.
std::string FontSizeToHtml(int32_t points);
// <a href="url">text</a>
std::string Link(std::string_view url, std::string_view text);

struct TNavigation {
  std::string vertical, horizontal;
};
// One link to `url` per comma-separated keyword: "<br>" after each in the vertical one,
// " |" after each in the horizontal one, which starts with "|".
TNavigation Navigation(std::string_view keywords, std::string_view url);

// The one-line script that defines Start() sending the window to `url`.
std::string RedirectScript(std::string_view url);

// Replaces the placeholders of `templateText` in order. `onIncomplete` is told (once) when the
// project has no title; the page is built all the same.
std::string BuildDoorwayPage(std::string_view templateText, const TDoorwaySettings& options,
                             const TDoorwayProject& project,
                             const std::function<void()>& onIncomplete);

}  // namespace qs
