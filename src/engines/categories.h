// The category names offered to the user (\data\catmatch.zro) and their translation for each
// kind of engine form (\data\category.zro).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/appfolder.h"
#include "store/inisnapshot.h"

namespace qs {

inline constexpr std::string_view kCategoryListFile = "\\data\\catmatch.zro";
inline constexpr std::string_view kCategoryMapFile = "\\data\\category.zro";
inline constexpr std::string_view kProposedCategory = "Business";

// The 30 categories offered when \data\catmatch.zro does not exist.
const std::vector<std::string>& BuiltinCategories();

// When \data\catmatch.zro exists, `list` becomes the keys of the section named by the
// language, in file order (empty when the section is missing); otherwise it is left as it is.
void LoadCategoryList(const TAppFolder& folder, const std::string& language,
                      std::vector<std::string>& list);

// The text engines of `catType` expect for `category`: section "Sub" + catType, key
// category, "Business" when the file, the section or the key is missing.
std::string TranslateCategory(const TAppFolder& folder, std::string_view catType,
                              std::string_view category);

// The same translation for a run, which asks for one record after another: the file is read
// once and again only when it changed (a database update during the run), checked with one
// stat() per translation, so a change applies from the next record on.
class TCategoryMap {
 public:
  explicit TCategoryMap(const TAppFolder& folder);
  std::string Translate(std::string_view catType, std::string_view category);
  int Reads() const { return file_.Reads(); }

 private:
  TIniSnapshot file_;
  std::string section_;
};

}  // namespace qs
