// Ranking history lines, as a hand edit may leave them: a line that reads as a check is
// written again and must read back as the same check.
#include <QCoreApplication>
#include <QLocale>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/text.h"
#include "ranking/rankhistory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool once = [] {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    return true;
  }();
  (void)once;
  static const qs::TRankLineReader reader;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  for (std::string_view line : qs::SplitLines(input)) {
    const auto check = reader.Read(line);
    if (!check) continue;
    if (check->engine.empty() || check->depth < 1) std::abort();
    for (size_t i = 1; i < check->positions.size(); ++i)
      if (check->positions[i - 1] > check->positions[i]) std::abort();
    const auto again = reader.Read(qs::RankCheckLine(*check));
    if (!again || again->engine != check->engine || again->keyword != check->keyword ||
        again->depth != check->depth || again->positions != check->positions ||
        again->resultUrl != check->resultUrl)
      std::abort();
  }
  return 0;
}
