#include "projects/projectkeys.h"

#include "app/clock.h"
#include "platform/regional.h"

namespace qs {

namespace {
using T = ProjectValueType;
using D = ProjectDefault;
constexpr std::optional<std::string_view> kNone;

constexpr ProjectKeyDef kKeys[] = {
    {"url", T::Text, true, kNone, ""},
    {"title", T::Text, true, kNone, ""},
    {"description", T::Text, true, kNone, ""},
    {"key1", T::Text, true, kNone, ""},
    {"catagory", T::Text, true, kNone, ""},
    {"name", T::Text, true, kNone, ""},
    {"last", T::Text, true, kNone, ""},
    {"email", T::Text, true, kNone, ""},
    {"alt_email", T::Text, true, kNone, ""},
    {"company", T::Text, true, kNone, ""},
    {"address1", T::Text, true, kNone, ""},
    {"address2", T::Text, true, kNone, ""},
    {"city", T::Text, true, kNone, ""},
    {"state", T::Text, true, kNone, ""},
    {"country", T::Text, true, kNone, ""},
    {"zip", T::Text, true, kNone, ""},
    {"phone", T::Text, true, kNone, ""},
    {"fax", T::Text, true, kNone, ""},
    {"password", T::Text, true, kNone, ""},
    {"username", T::Text, false, kNone, ""},
    {"submitengines", T::Flag, false, "-1", "-1"},
    {"submitffa", T::Flag, false, "-1", "-1"},
    {"submitnetworks", T::Flag, false, "-1", "-1"},
    {"submitcustom", T::DatabaseChoice, false, "0", ""},
    {"genreport", T::Flag, false, "-1", "-1"},
    {"emailreport", T::Flag, false, kNone, "0"},
    {"scheduled", T::Flag, false, kNone, "0"},
    {"startdate", T::DateText, false, kNone, "", D::Today},
    {"enddate", T::DateText, false, kNone, "", D::Today},
    {"besttime", T::TimeText, false, kNone, "", D::Now},
    {"daysbetween", T::IntegerText, false, kNone, "30"},
    {"lastsub", T::DateText, false, kNone, "", D::OneYearBack},
    {"lastw", T::DateText, false, kNone, "", D::SevenDaysBack},
    {"lastm", T::DateText, false, kNone, "", D::OneMonthBack},
    {"lasty", T::DateText, false, kNone, "", D::OneYearBack},
};

constexpr std::string_view kCreatedOrder[] = {
    "url",      "title",    "email",   "alt_email", "description",  "catagory",
    "name",     "last",     "company", "address1",  "address2",     "country",
    "city",     "state",    "phone",   "fax",       "zip",          "key1",
    "password", "submitcustom", "submitengines", "submitffa", "submitnetworks", "genreport",
};
}  // namespace

std::span<const ProjectKeyDef> ProjectKeys() { return kKeys; }

const ProjectKeyDef* FindProjectKey(std::string_view key) {
  for (const auto& def : kKeys)
    if (def.key == key) return &def;
  return nullptr;
}

std::span<const std::string_view> CreatedKeyOrder() { return kCreatedOrder; }

std::string ProjectDefaultText(const ProjectKeyDef& def) {
  const QDate today = clock::Today();
  switch (def.rule) {
    case D::Fixed: return std::string(def.fixedDefault);
    case D::Today: return regional::FormatDate(today);
    case D::Now: return regional::FormatTime(clock::TimeOfDay());
    case D::OneYearBack: return regional::FormatDate(today.addYears(-1));
    case D::OneMonthBack: return regional::FormatDate(today.addMonths(-1));
    case D::SevenDaysBack: return regional::FormatDate(today.addDays(-7));
  }
  return {};
}

}  // namespace qs
