#include "metatags/metacatalogue.h"

#include <exception>

#include "store/biginifile.h"

namespace qs {

void TMetaCatalogue::Load(const TAppFolder& folder) { Load(folder.Path(kMetaCatalogueFile)); }

void TMetaCatalogue::Load(const std::string& path) {
  tags_.clear();
  try {
    TBigIniFile ini(path);
    std::vector<std::string> names;
    ini.ReadSectionLines("Tags", names);
    for (auto& name : names) {
      TMetaTag tag;
      tag.type = ini.ReadText(name, "type", "");
      tag.content = ini.ReadText(name, "content", "");
      tag.list = ini.ReadText(name, "list", "");
      tag.hint = ini.ReadText(name, "hint", "");
      tag.name = std::move(name);
      tags_.push_back(std::move(tag));
    }
    ini.Close();
  } catch (const std::exception&) {
    tags_.clear();  // an unreadable catalogue is an empty tag list
  }
}

int TMetaCatalogue::IndexOf(std::string_view name) const {
  for (size_t i = 0; i < tags_.size(); ++i)
    if (tags_[i].name == name) return static_cast<int>(i);
  return -1;
}

std::vector<std::string> TMetaCatalogue::Choices(std::string_view list) {
  std::vector<std::string> pieces;
  if (list.empty()) return pieces;
  size_t start = 0;
  for (;;) {
    const size_t comma = list.find(',', start);
    pieces.emplace_back(list.substr(start, comma == std::string_view::npos ? comma : comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return pieces;
}

}  // namespace qs
