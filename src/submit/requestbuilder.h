// What the run sends to one engine for one project: whether the record is visited, whether
// it is due, and the request that submits the project's values into the engine's form.
#pragma once

#include <QDate>
#include <QLocale>
#include <string>
#include <string_view>
#include <vector>

#include "app/appfolder.h"
#include "engines/categories.h"
#include "store/inisnapshot.h"

namespace qs {

class TFixedFormatDataSet;

enum class TEngineTable { Main, Custom };

struct TBuiltRequest {
  bool due = false;
  bool post = false;
  std::string url;       // the full request address (GET: cgi_url + "?" + form data)
  std::string body;      // the form data of a POST
  std::string referrer;  // e_url
};

// Every byte but 0-9, A-Z and a-z as "%" and two upper-case hexadecimal digits. Texts are
// UTF-8, so a character above 127 becomes the escapes of each of its bytes.
std::string UrlEncode(std::string_view text);

// Text that goes into a request target as it is, but for blanks, control characters and bytes
// over 127, which become "%" and two upper-case hexadecimal digits.
std::string EscapeForRequestTarget(std::string_view text);

// A record is visited when its enginetype, in lower case, occurs within the entry's kinds
// line in lower case; an empty enginetype never is.
bool IsVisited(std::string_view kindsLine, std::string_view engineType);

// The date from which an engine of frequency `freq` is due again after `stored`.
QDate NextDueDate(const QDate& stored, std::string_view freq);

// The project key holding the last submission that `freq` is measured from, or empty for a
// frequency without one.
std::string_view DateKeyOf(std::string_view freq);

// The stored date a due test starts from: the parsed text, or `fallback` for an empty text.
// A text that is not a date is taken as if it were empty: the engine becomes due, and the
// run goes on (the next run end writes a good date over it).
QDate StoredDateOr(std::string_view text, const QDate& fallback);

// The builder reads the project file afresh for every record it builds: a change saved
// during a run applies to the records that follow. "Afresh" costs one stat() while the file
// is unchanged (see TIniSnapshot); the category file is looked at the same way.
class TRequestBuilder {
 public:
  explicit TRequestBuilder(const TAppFolder& folder) : folder_(folder), categories_(folder) {}

  // `table` stands on the engine record. `listedName` is the project's listed name.
  TBuiltRequest Build(std::string_view domain, std::string_view listedName,
                      TFixedFormatDataSet& table, TEngineTable from, const QDate& today);

  // How often the project file and the category file were read (tests).
  int ProjectReads() const { return project_.Reads(); }
  int CategoryReads() const { return categories_.Reads(); }

 private:
  // StoredDateOr for a stored text, remembering the texts already converted: a project holds
  // at most four dates, read for every record.
  QDate StoredDate(const std::string& text, const QDate& fallback);

  struct TParsedDate {
    std::string text;
    QDate date;  // invalid: the text is not a date
  };
  const TAppFolder& folder_;
  std::string domain_, listedName_, projectKey_;
  TIniSnapshot project_;
  TCategoryMap categories_;
  std::vector<TParsedDate> dates_;
  QLocale datesLocale_;
};

}  // namespace qs
