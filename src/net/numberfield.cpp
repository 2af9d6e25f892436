#include "net/numberfield.h"

#include <algorithm>
#include <charconv>

namespace qs {

TNumberField::TNumberField(int minimum, int maximum, int value)
    : minimum_(minimum), maximum_(maximum) {
  SetValue(value);
}

void TNumberField::SetValue(int value) {
  text_ = std::to_string(std::clamp(value, minimum_, maximum_));
}

int TNumberField::Value() const {
  std::string_view t = text_;
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  long long n = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), n);
  if (t.empty() || ec == std::errc::invalid_argument || end != t.data() + t.size())
    return minimum_;
  if (ec == std::errc::result_out_of_range) return t.front() == '-' ? minimum_ : maximum_;
  return static_cast<int>(std::clamp<long long>(n, minimum_, maximum_));
}

}  // namespace qs
