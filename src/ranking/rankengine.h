// One ranking engine's record: its section of \data\ranking.czc, named exactly as its line
// in [List]. A missing section or key gives the defaults.
#pragma once

#include <string>
#include <string_view>

#include "app/appfolder.h"

namespace qs {

struct TRankEngine {
  std::string url;                     // query template with $keyword and $page
  std::string page;                    // page expression over $curpage
  std::string remove;                  // clean-up items, each followed by a comma
  std::string replace;                 // what every clean-up item becomes
  std::string search = "searcherror";  // the text in front of each result's address
};

// Opens and closes the ranking file. Throws IoError when the file cannot be read.
TRankEngine ReadRankEngine(const TAppFolder& folder, std::string_view name);

}  // namespace qs
