#include "engines/categories.h"

#include "platform/filesystem.h"
#include "store/biginifile.h"

namespace qs {

const std::vector<std::string>& BuiltinCategories() {
  static const std::vector<std::string> list = {
      "Automotive",    "Business",   "Communications", "Community",     "Computers",
      "Consumer",      "Education",  "Employment",     "Entertainment", "Finance",
      "Government",    "Health",     "Internet",       "Manufacturing", "Media",
      "Medical",       "Miscellaneous", "News",        "Opportunities", "Personal",
      "Politics",      "Publishing", "Recreation",     "Reference",     "Religion",
      "Sci-Tech",      "Services",   "Transportation", "Travel",        "Web_Stuff",
  };
  return list;
}

void LoadCategoryList(const TAppFolder& folder, const std::string& language,
                      std::vector<std::string>& list) {
  const std::string path = folder.Path(kCategoryListFile);
  if (!FileExists(path)) return;
  TBigIniFile ini(path);
  list.clear();
  ini.ReadKeyList(language, list);
  ini.Close();
}

std::string TranslateCategory(const TAppFolder& folder, std::string_view catType,
                              std::string_view category) {
  return TCategoryMap(folder).Translate(catType, category);
}

TCategoryMap::TCategoryMap(const TAppFolder& folder) : file_(folder.Path(kCategoryMapFile)) {}

std::string TCategoryMap::Translate(std::string_view catType, std::string_view category) {
  section_.assign("Sub");
  section_.append(catType);
  return file_.Fresh().ReadText(section_, category, kProposedCategory);
}

}  // namespace qs
