// Judging an answer by its status line, and the weight of a row in the sums.
#include "submit/classification.h"

#include <gtest/gtest.h>

namespace qs {
namespace {

TEST(SubmitClassification, HeaderEndTakesStatusAndText) {
  const TLanguageTable language;
  const struct {
    int code;
    std::string reason;
    int status;
    std::string text;
    TResultClass cls;
  } cases[] = {
      {200, "OK", 200, "OK", TResultClass::Ok},
      {301, "Moved Permanently", 301, "Moved Permanently", TResultClass::Ok},
      {302, "Found", 302, "OK", TResultClass::Ok},
      // Without a reason phrase the code still decides; the text is the usual phrase.
      {200, "", 200, "OK", TResultClass::Ok},
      {201, "", 201, "OK", TResultClass::Ok},
      {404, "", 404, "Not Found", TResultClass::Failed},
      {500, "", 500, "Internal Server Error", TResultClass::Failed},
      {408, "", 408, "Request Timeout", TResultClass::Timeout},
      {499, "", 499, "499", TResultClass::Failed},
      {303, "See Other", 303, "See Other", TResultClass::Failed},
      {404, "Not Found", 404, "Not Found", TResultClass::Failed},
      {408, "Request Timeout", 408, "Request Timeout", TResultClass::Timeout},
      {0, "", 0, "Could not resolve to host", TResultClass::Failed},
      {1, "x", 1, "x", TResultClass::Ok},
  };
  for (const auto& c : cases) {
    const TRequestResult r = HeaderEndResult(c.code, c.reason, language);
    EXPECT_EQ(r.status, c.status) << c.code << " " << c.reason;
    EXPECT_EQ(r.text, c.text) << c.code << " " << c.reason;
    EXPECT_EQ(ClassOf(r.status), c.cls) << c.code << " " << c.reason;
  }
}

TEST(SubmitClassification, RowCountIsAWholeNumberOrOne) {
  const struct {
    std::string text;
    long long count;
  } cases[] = {{"1", 1}, {"40", 40}, {" 7 ", 7}, {"0", 0}, {"", 1}, {"2.5", 1},
               {"many", 1}, {"-3", 1}, {"99999999999999999999", 1}, {"12abc", 1}};
  for (const auto& c : cases) EXPECT_EQ(RowCount(c.text), c.count) << c.text;
}

}  // namespace
}  // namespace qs
