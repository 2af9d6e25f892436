#include "spider/linkrules.h"

#include <charconv>

#include "app/errors.h"

namespace qs {

namespace {

bool EndsWithFirst(std::string_view url, std::string_view extension) {
  if (url.size() < extension.size()) return false;
  const size_t end = url.size() - extension.size();
  return url.find(extension) == end;
}

int WholeNumber(const std::string& text) {
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  int value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size())
    throw ConversionError("'" + text + "' is not a valid integer value");
  return value;
}

}  // namespace

bool HasAcceptedExtension(std::string_view url, std::string_view filter) {
  if (filter != "All") return EndsWithFirst(url, filter);
  for (std::string_view extension : kAllExtensions)
    if (EndsWithFirst(url, extension)) return true;
  return false;
}

TSpiderLimits SpiderLimits(const TSpiderOptions& options) {
  return {WholeNumber(options.levelsDeep), WholeNumber(options.maxPages)};
}

}  // namespace qs
