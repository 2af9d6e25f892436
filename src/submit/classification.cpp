#include "submit/classification.h"

#include <charconv>

namespace qs {

TRequestResult HeaderEndResult(int code, std::string_view reason, const TLanguageTable& language) {
  TRequestResult r{code, {}};
  if (code == 0) {
    r.text = language.Lookup("132");
  } else if (code == 302) {
    r.text = language.Lookup("119");
  } else {
    r.text = std::string(reason);
  }
  if (r.text.empty()) {
    r.text = language.Lookup("119");
    r.status = 200;
  }
  return r;
}

TResultClass ClassOf(int status) {
  if (status >= 1 && status <= 302) return TResultClass::Ok;
  if (status == 408) return TResultClass::Timeout;
  return TResultClass::Failed;
}

long long RowCount(std::string_view eCount) {
  while (!eCount.empty() && eCount.front() == ' ') eCount.remove_prefix(1);
  while (!eCount.empty() && eCount.back() == ' ') eCount.remove_suffix(1);
  long long value = 0;
  const auto [end, ec] = std::from_chars(eCount.data(), eCount.data() + eCount.size(), value);
  if (eCount.empty() || ec != std::errc() || end != eCount.data() + eCount.size() || value < 0 ||
      value > 1'000'000'000)
    return 1;
  return value;
}

}  // namespace qs
