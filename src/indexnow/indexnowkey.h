// IndexNow keys: a project's password is its key when its engine records name a `password`
// field. An engine accepts a key of 8 to 128 characters from a-z, A-Z, 0-9 and "-", and
// checks it against the text file https://<host>/<key>.txt, whose content is the key.
#pragma once

#include <string>
#include <string_view>

namespace qs {

inline constexpr size_t kIndexNowKeyMin = 8;
inline constexpr size_t kIndexNowKeyMax = 128;

// Why an engine would refuse `key`, or an empty text when it is a valid key.
std::string IndexNowKeyProblem(std::string_view key);

// A new key: 32 hexadecimal digits from the system's cryptographic random source.
std::string GenerateIndexNowKey();

// The key file an engine looks for: its name and its whole content.
std::string IndexNowKeyFileName(std::string_view key);
std::string IndexNowKeyFileText(std::string_view key);

// Whether a fetched key file holds `key`: the key alone, with blanks or line ends around it.
bool IndexNowKeyFileMatches(std::string_view body, std::string_view key);

}  // namespace qs
