#include "ranking/rankengine.h"

#include "ranking/rankenginelist.h"
#include "store/biginifile.h"

namespace qs {

TRankEngine ReadRankEngine(const TAppFolder& folder, std::string_view name) {
  TBigIniFile ini(folder.Path(kRankingFile));
  TRankEngine e;
  e.url = ini.ReadText(name, "url", "");
  e.page = ini.ReadText(name, "page", "");
  e.remove = ini.ReadText(name, "remove", "");
  e.replace = ini.ReadText(name, "replace", "");
  e.search = ini.ReadText(name, "search", e.search);
  ini.Close();
  return e;
}

}  // namespace qs
