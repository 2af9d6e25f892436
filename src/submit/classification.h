// How a submission answer is judged: by its status line alone.
#pragma once

#include <string>
#include <string_view>

#include "app/langtable.h"

namespace qs {

enum class TResultClass { Ok, Failed, Timeout };

struct TRequestResult {
  int status = 0;
  std::string text;
};

// The result taken at header end from the answer's status code (0 when the status line held
// none) and reason phrase.
TRequestResult HeaderEndResult(int code, std::string_view reason, const TLanguageTable& language);

// The usual reason phrase of a status code that is no success, or empty for one without.
std::string_view StandardReason(int code);

// 1 to 302 OK, 408 Timeout, everything else (0 too) Failed.
TResultClass ClassOf(int status);

// The weight of a row in the sums: e_count as a whole number. A count that is not a whole
// number of at least 0 (empty, "2.5", "many", negative, out of range) weighs 1: the record
// stands at least for its own engine, and a bad value never lowers a sum.
long long RowCount(std::string_view eCount);

}  // namespace qs
