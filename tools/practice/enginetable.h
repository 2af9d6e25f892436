// Engine tables for practice runs: one record as a line of the 36-column engine table, and
// a generator of N records pointing at the practice server with a chosen mix.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace qs::practice {

// A line of the engine table from column values by name; columns not named are empty.
// Values holding the delimiter, a quote or leading blanks are written in double quotes.
std::string EngineLine(const std::map<std::string, std::string>& values);

struct TGeneratorMix {
  std::vector<std::string> behaviours{"ok", "found", "moved", "missing", "error", "timeout",
                                      "noreason", "slow", "silent", "close", "html"};
  std::vector<std::string> kinds{"ENGINE", "FFA", "NETWORKS"};
  std::vector<std::string> frequencies{"", "Daily", "Weekly", "Monthly", "Yearly"};
  std::vector<std::string> methods{"GET", "POST"};
  int networkCount = 5;  // e_count of NETWORKS records; the others count 1
  std::string namePrefix = "Practice";
  std::string pathPrefix;  // before the number in the record's paths, to tell tables apart
};

// N records; record i takes the i-th value of each list, cycling, with the lists' lengths
// chosen so that the combinations spread. Record i posts to
// base + "/" + behaviour + "/" + pathPrefix + i, and its home page is base + "/home/" + the same.
std::vector<std::string> GenerateEngineTable(int count, const std::string& base,
                                             const TGeneratorMix& mix = {});

}  // namespace qs::practice
