#include "engines/updateinfo.h"

#include <limits>

#include "app/errors.h"

namespace qs {

std::map<std::string, std::string> ReadKeyValues(std::string_view text) {
  std::map<std::string, std::string> values;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    const size_t eq = line.find('=');
    if (eq != std::string_view::npos)
      values.emplace(std::string(line.substr(0, eq)), std::string(line.substr(eq + 1)));
    start = end + 1;
    if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n')
      ++start;
  }
  return values;
}

int64_t VersionNumber(std::string_view text) {
  auto fail = [&]() -> int64_t {
    throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
  };
  size_t i = 0, end = text.size();
  while (i < end && text[i] == ' ') ++i;
  while (end > i && text[end - 1] == ' ') --end;
  bool negative = false;
  if (i < end && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == end) return fail();
  int64_t value = 0;
  for (; i < end; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return fail();
    if (value > (std::numeric_limits<int64_t>::max() - (c - '0')) / 10) return fail();
    value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

int64_t VersionOf(const std::map<std::string, std::string>& values, const std::string& key) {
  const auto it = values.find(key);
  return VersionNumber(it == values.end() ? std::string_view() : std::string_view(it->second));
}

}  // namespace qs
