#include "enginetable.h"

namespace qs::practice {

namespace {
const char* const kColumns[] = {
    "id",      "e_name", "enginetype", "db_type", "trial",  "e_country", "e_count", "e_freq",
    "e_index", "e_specific", "e_url",  "cgi_url", "method", "title",     "url",     "descr",
    "cat",     "cat_type", "fname",    "lname",   "company", "add1",     "add2",    "email",
    "city",    "state",  "zip",        "country", "phone",  "fax",       "key1",    "username",
    "password", "password2", "confirm", "hidden"};
}  // namespace

std::string EngineLine(const std::map<std::string, std::string>& values) {
  std::string line;
  bool first = true;
  for (const char* column : kColumns) {
    if (!first) line += ',';
    first = false;
    const auto it = values.find(column);
    if (it == values.end()) continue;
    const std::string& v = it->second;
    const bool quote = v.find_first_of(",\"") != std::string::npos ||
                       (!v.empty() && static_cast<unsigned char>(v[0]) <= 32);
    line += quote ? "\"" + v + "\"" : v;
  }
  return line + "\r\n";
}

std::vector<std::string> GenerateEngineTable(int count, const std::string& base,
                                             const TGeneratorMix& mix) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(count));
  auto pick = [](const std::vector<std::string>& list, size_t i) {
    return list.empty() ? std::string() : list[i % list.size()];
  };
  for (int n = 0; n < count; ++n) {
    const auto i = static_cast<size_t>(n);
    const std::string kind = pick(mix.kinds, i / 3 + i);
    std::map<std::string, std::string> v{
        {"id", std::to_string(n + 1)},
        {"e_name", mix.namePrefix + " " + std::to_string(n)},
        {"enginetype", kind},
        {"db_type", "english"},
        {"e_country", "International"},
        {"e_count", kind == "NETWORKS" ? std::to_string(mix.networkCount) : "1"},
        {"e_freq", pick(mix.frequencies, i / 2)},
        {"e_index", "All"},
        {"e_url", base + "/home/" + mix.pathPrefix + std::to_string(n)},
        {"cgi_url", base + "/" + pick(mix.behaviours, i) + "/" + mix.pathPrefix + std::to_string(n)},
        {"method", pick(mix.methods, i / 5)},
        {"url", "url"},
        {"title", "title"},
        {"descr", "description"},
        {"email", "email"},
        {"key1", "keywords"},
        {"hidden", "&engine=" + std::to_string(n)}};
    if (n % 4 == 0) {
      v["cat"] = "category";
      v["cat_type"] = "Cat" + std::to_string(1 + n % 3);
    }
    lines.push_back(EngineLine(v));
  }
  return lines;
}

}  // namespace qs::practice
