#include "submit/requestbuilder.h"

#include <span>

#include "app/errors.h"
#include "app/text.h"
#include "engines/categories.h"
#include "platform/regional.h"
#include "projects/domainstore.h"
#include "projects/naming.h"
#include "store/biginifile.h"
#include "store/fixedformatdataset.h"

namespace qs {

namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

std::string Column(TFixedFormatDataSet& table, std::string_view name) {
  const int index = table.FieldIndex(name);
  return index < 0 ? std::string() : table.Fields(index).AsString();
}

// Form field column of the engine record and the project key whose value it receives, in
// the order the pairs are sent. The category pair goes after the description.
struct FieldPair {
  std::string_view column;
  std::string_view projectKey;
};
constexpr FieldPair kBeforeCategory[] = {
    {"url", "url"}, {"title", "title"}, {"descr", "description"}};
constexpr FieldPair kAfterCategory[] = {
    {"fname", "name"},      {"lname", "last"},        {"company", "company"},
    {"add1", "address1"},   {"add2", "address2"},     {"email", "alt_email"},
    {"city", "city"},       {"state", "state"},       {"zip", "zip"},
    {"country", "country"}, {"phone", "phone"},       {"fax", "fax"},
    {"key1", "key1"},       {"username", "username"}, {"password", "password"}};

}  // namespace

std::string UrlEncode(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size() * 3);
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
      out.push_back(ch);
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    }
  }
  return out;
}

bool IsVisited(std::string_view kindsLine, std::string_view engineType) {
  if (engineType.empty()) return false;
  return Lower(kindsLine).find(Lower(engineType)) != std::string::npos;
}

std::string_view DateKeyOf(std::string_view freq) {
  if (freq == "Daily") return "lastsub";
  if (freq == "Weekly") return "lastw";
  if (freq == "Monthly") return "lastm";
  if (freq == "Yearly") return "lasty";
  return {};
}

QDate NextDueDate(const QDate& stored, std::string_view freq) {
  if (freq == "Weekly") return stored.addDays(7);
  if (freq == "Monthly") return stored.addMonths(1);  // clamps to the month's last day
  if (freq == "Yearly") return stored.addYears(1);
  return stored.addDays(1);
}

QDate StoredDateOr(std::string_view text, const QDate& fallback) {
  if (text.empty()) return fallback;
  try {
    return regional::ParseDate(text);
  } catch (const ConversionError&) {
    return fallback;
  }
}

QDate TRequestBuilder::StoredDate(const std::string& text, const QDate& fallback) {
  if (text.empty()) return fallback;
  if (!(datesLocale_ == QLocale())) {
    dates_.clear();
    datesLocale_ = QLocale();
  }
  for (const TParsedDate& d : dates_)
    if (d.text == text) return d.date.isValid() ? d.date : fallback;
  if (dates_.size() >= 8) dates_.clear();
  const QDate date = StoredDateOr(text, QDate());
  dates_.push_back({text, date});
  return date.isValid() ? date : fallback;
}

TBuiltRequest TRequestBuilder::Build(std::string_view domain, std::string_view listedName,
                                     TFixedFormatDataSet& table, TEngineTable from,
                                     const QDate& today) {
  if (domain != domain_ || listedName != listedName_ || project_.Path().empty()) {
    std::string key = ProjectKeyOf(listedName);
    project_.SetPath(TDomainStore(folder_).ProjectFile(domain, key));
    projectKey_ = std::move(key);
    domain_ = std::string(domain);
    listedName_ = std::string(listedName);
    dates_.clear();
  }
  const std::string& projectKey = projectKey_;
  TBiggerIniFile& project = project_.Fresh();
  auto value = [&](std::string_view key) { return project.ReadText(projectKey, key, ""); };

  TBuiltRequest out;
  const std::string freq = Column(table, "e_freq");
  const std::string_view dateKey = DateKeyOf(freq);
  const QDate yearBack = today.addYears(-1);
  const QDate stored = dateKey.empty() ? yearBack : StoredDate(value(dateKey), yearBack);
  out.due = today >= NextDueDate(stored, freq);
  if (Column(table, "e_index") == "Index Only" && projectKey != "Index") out.due = false;
  out.referrer = Column(table, "e_url");
  if (!out.due) return out;

  std::string data;
  auto pairs = [&](std::span<const FieldPair> map) {
    for (const FieldPair& p : map) {
      const std::string name = Column(table, p.column);
      if (name.empty()) continue;
      data += '&';
      data += name;
      data += '=';
      data += UrlEncode(value(p.projectKey));
    }
  };
  pairs(kBeforeCategory);
  const std::string category = value("catagory");
  const std::string catType = Column(table, "cat_type");
  if (!category.empty() && !catType.empty()) {
    data += '&';
    data += Column(table, "cat");
    data += '=';
    data += UrlEncode(categories_.Translate(catType, category));
  }
  pairs(kAfterCategory);
  // `hidden` is form data as the record writes it; in an address (GET) the bytes that cannot
  // stand in a request target are escaped, everything else (&, =, %...) goes as written.
  const std::string hidden = Column(table, "hidden");
  data += Column(table, "method") == "POST" ? hidden : EscapeForRequestTarget(hidden);
  if (from == TEngineTable::Main && Column(table, "e_name") == "RQZWEB")
    data += "&software=rqzwebFFF";
  if (!data.empty() && data.front() == '&') data.erase(0, 1);

  const std::string cgi = Column(table, "cgi_url");
  if (Column(table, "method") == "POST") {
    out.post = true;
    out.url = cgi;
    out.body = std::move(data);
  } else {
    out.url = cgi + "?" + data;
  }
  return out;
}

std::string EscapeForRequestTarget(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    if (b <= 0x20 || b >= 0x7F) {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 0x0F];
    } else {
      out += ch;
    }
  }
  return out;
}

}  // namespace qs
