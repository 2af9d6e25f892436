// The meta tag catalogue \data\metatags.czc: the tag names of section Tags in file order and,
// per tag, its attribute type, its kind of value, its choices and its hint.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/appfolder.h"

namespace qs {

inline constexpr std::string_view kMetaCatalogueFile = "\\data\\metatags.czc";

struct TMetaTag {
  std::string name;     // as its line in Tags
  std::string type;     // the attribute written before the name: NAME, HTTP-EQUIV, ...
  std::string content;  // "text", "list" or anything else
  std::string list;     // the choices of a "list" tag, comma-separated
  std::string hint;
};

class TMetaCatalogue {
 public:
  // Empties the catalogue and fills it from the file. A file that is missing or cannot be
  // read leaves it empty; missing keys read as empty texts.
  void Load(const TAppFolder& folder);
  void Load(const std::string& path);

  const std::vector<TMetaTag>& Tags() const { return tags_; }
  size_t Size() const { return tags_.size(); }
  // -1 when no tag has exactly this name.
  int IndexOf(std::string_view name) const;

  // The choices of a list value: every piece between commas, untrimmed.
  static std::vector<std::string> Choices(std::string_view list);

 private:
  std::vector<TMetaTag> tags_;
};

}  // namespace qs
