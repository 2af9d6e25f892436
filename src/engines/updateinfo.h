// The version numbers of the updater: the check answer of the update server and the
// update description update-info.txt are key=value lines; versions are whole numbers.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace qs {

inline constexpr std::string_view kUpdateInfoFile = "\\update-info.txt";

// The values of key=value lines (lines end at LF, CR LF or CR; the first line of a key wins;
// lines without "=" are ignored). Keys are compared as written.
std::map<std::string, std::string> ReadKeyValues(std::string_view text);

// A version text as a whole number: optional blanks, an optional sign and decimal digits.
// Throws ConversionError "'%s' is not a valid integer value" for anything else (the empty
// text included).
int64_t VersionNumber(std::string_view text);

// The value of `key` in `values` as a whole number; a missing key reads as the empty text,
// which is no number.
int64_t VersionOf(const std::map<std::string, std::string>& values, const std::string& key);

}  // namespace qs
