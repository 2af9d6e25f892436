#include "metatags/metatagblock.h"

#include "projects/projectkeys.h"
#include "store/biginifile.h"

namespace qs {

std::string TagLine(std::string_view name, std::string_view value, std::string_view type) {
  std::string line;
  if (name == "Title") {
    line.append("<TITLE>").append(value).append("</TITLE>");
    return line;
  }
  line.append("<META ").append(type).append("=\"").append(name).append("\" CONTENT=\"");
  line.append(value).append("\">");
  return line;
}

bool IncludeFlagSet(std::string_view stored) {
  int32_t value = 0;
  return TBigIniFile::ParseNumber(stored, value) && value != 0;
}

std::string MetaTagBlock(const TMetaCatalogue& catalogue, const TDomainStore& store,
                         std::string_view domain, std::string_view projectKey,
                         std::string_view lineEnd) {
  std::string block;
  if (domain.empty() || projectKey.empty()) return block;
  for (const TMetaTag& tag : catalogue.Tags()) {
    const std::string flag =
        store.ReadProjectValue(domain, projectKey, kMetaTagsSection, IncludeKey(tag.name), "");
    if (!IncludeFlagSet(flag)) continue;
    const std::string value =
        store.ReadProjectValue(domain, projectKey, kMetaTagsSection, tag.name, "");
    block.append(TagLine(tag.name, value, tag.type)).append(lineEnd);
  }
  return block;
}

}  // namespace qs
