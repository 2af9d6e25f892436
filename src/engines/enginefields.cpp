#include "engines/enginefields.h"

namespace qs {
namespace {

// trial has no meaning here; a new record leaves it empty, so it adds nothing to the line.
constexpr TEngineColumn kColumns[] = {
    {"id", "", ""},
    {"e_name", "269", ""},
    {"enginetype", "270", "FFA"},
    {"db_type", "", "", true},
    {"trial", "", ""},
    {"e_country", "271", ""},
    {"e_count", "272", "1"},
    {"e_freq", "273", "Monthly"},
    {"e_index", "274", "All"},
    {"e_specific", "275", ""},
    {"e_url", "192", ""},
    {"cgi_url", "277", ""},
    {"method", "278", "POST"},
    {"title", "279", ""},
    {"url", "280", ""},
    {"descr", "281", ""},
    {"cat", "282", ""},
    {"cat_type", "283", ""},
    {"fname", "284", ""},
    {"lname", "285", ""},
    {"company", "286", ""},
    {"add1", "287", ""},
    {"add2", "288", ""},
    {"email", "289", ""},
    {"city", "290", ""},
    {"state", "291", ""},
    {"zip", "292", ""},
    {"country", "293", ""},
    {"phone", "294", ""},
    {"fax", "295", ""},
    {"key1", "296", ""},
    {"username", "297", ""},
    {"password", "298", ""},
    {"password2", "299", ""},
    {"confirm", "300", "NO"},
    {"hidden", "301", ""},
};
static_assert(std::size(kColumns) == 36);

}  // namespace

std::span<const TEngineColumn> EngineColumns() { return kColumns; }

std::vector<std::string> EngineSchema() {
  std::vector<std::string> names;
  for (const auto& c : kColumns) names.emplace_back(c.name);
  return names;
}

std::vector<std::string> EngineFieldChoices(std::string_view column) {
  // The engine type offers "NETWORKS", the value the type views, the counters and the run
  // test for: a record saved as "NETWORK" would be counted nowhere and hidden by the
  // Networks view. A file may still hold "NETWORK"; it is shown as it is.
  if (column == "enginetype") return {"ENGINE", "FFA", "NETWORKS"};
  if (column == "e_freq") return {"Daily", "Weekly", "Monthly", "Yearly"};
  if (column == "e_index") return {"All", "Index Only"};
  if (column == "method") return {"POST", "GET"};
  if (column == "confirm") return {"YES", "NO"};
  if (column == "cat_type") {
    std::vector<std::string> types;
    for (int i = 1; i <= 55; ++i)
      if (i != 49) types.push_back("Cat" + std::to_string(i));  // there is no Cat49
    return types;
  }
  return {};
}

}  // namespace qs
