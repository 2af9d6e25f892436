#include "doorways/doorwaybuilder.h"

#include <cstdio>

#include "app/text.h"

namespace qs {

namespace {

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

std::string ColourToHtml(uint32_t colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", colour & 0xFFu, (colour >> 8) & 0xFFu,
                (colour >> 16) & 0xFFu);
  return text;
}

std::string FontSizeToHtml(int32_t points) {
  return std::to_string(static_cast<int64_t>(points) - 10);
}

std::string Link(std::string_view url, std::string_view text) {
  std::string link = "<a href=\"";
  link.append(url).append("\">").append(text).append("</a>");
  return link;
}

TNavigation Navigation(std::string_view keywords, std::string_view url) {
  TNavigation nav{"", "|"};
  auto add = [&](std::string_view item) {
    const std::string link = Link(url, item);
    nav.vertical.append(link).append("<br>");
    nav.horizontal.append(" ").append(link).append(" |");
  };
  std::string_view rest = keywords;
  for (size_t comma; (comma = rest.find(',')) != std::string_view::npos;) {
    add(rest.substr(0, comma));
    rest = TrimBlanks(rest.substr(comma + 1));
  }
  add(TrimBlanks(rest));
  return nav;
}

std::string RedirectScript(std::string_view url) {
  std::string script =
      "<SCRIPT LANGUAGE=\"JavaScript\" TYPE=\"text/javascript\">function Start(){brwName = "
      "navigator.appName; if (brwName == \"Netscape\" ){window.parent.location=\"";
  script.append(url).append("\"} else").append("{window.parent.location=\"");
  script.append(url).append("\"}}</SCRIPT>");
  return script;
}

std::string BuildDoorwayPage(std::string_view templateText, const TDoorwaySettings& o,
                             const TDoorwayProject& p, const std::function<void()>& onIncomplete) {
  std::string page(templateText);
  auto put = [&page](std::string_view placeholder, std::string_view value) {
    page = ReplaceAll(page, placeholder, value);
  };
  put("$content", o.content);
  put("$footer", o.footer);
  put("$header", o.header);
  put("$metatags", p.metaTags);
  put("$redirect", o.java == "ON" ? RedirectScript(p.url) : std::string());
  put("$tableborder", std::to_string(o.border));
  put("$cellpadding", std::to_string(o.cellPadding));
  put("$cellspacing", std::to_string(o.cellSpacing));
  put("$pagebg", ColourToHtml(o.pageBgColor));
  if (p.title.empty() && onIncomplete) onIncomplete();
  put("$title", p.title);
  put("$description", p.description);
  put("$copyright", p.copyright);
  put("$keywords", p.keywords);
  const TNavigation nav = Navigation(p.keywords, p.editorUrl);
  put("$vnav", nav.vertical);
  put("$hnav", nav.horizontal);
  put("$url", Link(p.editorUrl, p.editorUrl));
  put("$background", ColourToHtml(o.tableBgColor));
  put("$bordercolor", ColourToHtml(o.borderColor));
  put("$bodycolor", ColourToHtml(o.bodyColor));
  put("$bodyface", o.bodyFace);
  put("$bodysize", FontSizeToHtml(o.bodySize));
  put("$tcolor", ColourToHtml(o.titleColor));
  put("$tface", o.titleFace);
  put("$tsize", FontSizeToHtml(o.titleSize));
  return page;
}

}  // namespace qs
