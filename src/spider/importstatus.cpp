#include "spider/importstatus.h"

namespace qs {

namespace {

constexpr std::string_view kUpdateOpening = " <a href=\"update\" value=\"";
constexpr std::string_view kDuplicateOpening = ".</b> <a href=\"update\" value=\"";
constexpr std::string_view kAddOpening = "</b> <a href=\"add\" value=\"";
constexpr std::string_view kLinkMiddle = "\">";

std::string Cat(std::initializer_list<std::string_view> parts) {
  std::string s;
  size_t n = 0;
  for (auto p : parts) n += p.size();
  s.reserve(n);
  for (auto p : parts) s += p;
  return s;
}

}  // namespace

std::optional<TImportMode> ParseImportMode(std::string_view mode) {
  if (mode == "addspidered") return TImportMode::AddSpidered;
  if (mode == "justspider") return TImportMode::JustSpider;
  if (mode == "updateproject") return TImportMode::UpdateProject;
  return std::nullopt;
}

std::string_view ImportModeName(TImportMode mode) {
  switch (mode) {
    case TImportMode::AddSpidered: return "addspidered";
    case TImportMode::JustSpider: return "justspider";
    case TImportMode::UpdateProject: return "updateproject";
  }
  return {};
}

TImportTexts::TImportTexts(const TLanguageTable& l)
    : status(l.Lookup("143")),
      connecting(l.Lookup("168")),
      statusConnecting(l.Lookup("380")),
      complete(l.Lookup("400")),
      waiting(l.Lookup("401")),
      level(l.Lookup("402")),
      stopped(l.Lookup("403")),
      finished(l.Lookup("404")),
      updateIt(l.Lookup("405")),
      exists(l.Lookup("406")),
      added(l.Lookup("407")),
      failed(l.Lookup("408")),
      addIt(l.Lookup("409")),
      extracting(l.Lookup("410")),
      checking(l.Lookup("411")),
      projectAdded(l.Lookup("412")),
      projectUpdated(l.Lookup("413")),
      title(l.Lookup("label3")),
      description(l.Lookup("label4")),
      keywords(l.Lookup("label19")) {}

TPageStatus PageStatus(TImportMode mode, std::string_view reason, std::string_view url,
                       bool isProject, const TImportTexts& t) {
  const bool ok = reason == "OK";
  if (mode == TImportMode::UpdateProject)
    return {Cat({t.status, " <b>", reason, kUpdateOpening, url, kLinkMiddle, t.updateIt, "</a>"})};
  if (ok && isProject)
    return {Cat({t.status, " <b>", reason, " ", t.exists, kDuplicateOpening, url, kLinkMiddle,
                 t.updateIt, "</a>"})};
  if (mode == TImportMode::AddSpidered) {
    if (!ok) return {Cat({t.status, " <b>", reason, " ", t.failed, "</b>"})};
    return {Cat({t.status, " <b>", reason, " ", t.added, "</b>"}), true};
  }
  if (!ok) return {Cat({t.status, " <b>", reason, "</b>"})};
  return {Cat({t.status, " <b>", reason, kAddOpening, url, kLinkMiddle, t.addIt, "</a>"})};
}

std::string StartFailedStatus(std::string_view reason, const TImportTexts& t) {
  return Cat({t.status, " <b>Error ", reason, "</b>"});
}

}  // namespace qs
