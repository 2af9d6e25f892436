#include "projects/naming.h"

#include "app/errors.h"
#include "app/text.h"

namespace qs {

TUrlParts SplitUrl(std::string_view url) {
  size_t start = url.find("://");
  start = start == std::string_view::npos ? 0 : start + 3;
  size_t end = url.find_first_of("/?", start);
  std::string_view hostPart =
      url.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
  if (auto at = hostPart.rfind('@'); at != std::string_view::npos) hostPart.remove_prefix(at + 1);
  if (auto colon = hostPart.find(':'); colon != std::string_view::npos)
    hostPart = hostPart.substr(0, colon);
  TUrlParts parts;
  parts.host = std::string(hostPart);
  parts.path = end == std::string_view::npos ? "/" : std::string(url.substr(end));
  return parts;
}

std::string DomainNameOf(std::string_view url) {
  std::string host = SplitUrl(url).host;
  // "www." is dropped whatever its letter case: host names ignore case.
  if (host.size() >= 4 && EqualsIgnoreCase(std::string_view(host).substr(0, 4), "www."))
    host.erase(0, 4);
  return host;
}

std::string ListedNameOf(std::string_view url) {
  std::string path = SplitUrl(url).path;
  if (path.empty() || path == "/") return "Index";
  if (auto q = path.find('?'); q != std::string::npos) path.resize(q);
  return path;
}

std::string ProjectKeyOf(std::string_view listedName) { return ReplaceAll(listedName, "/", "_"); }

std::string ListedNameOfKey(std::string_view projectKey) {
  return ReplaceAll(projectKey, "_", "/");
}

std::string NameProblem(std::string_view name) {
  if (name.empty()) return "the name is empty";
  if (name == "." || name == "..") return "the name \"" + std::string(name) + "\" names a folder";
  if (name.size() > kMaxNameBytes) return "the name is longer than 240 characters";
  for (char c : name) {
    auto b = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\') return "the name holds a \"" + std::string(1, c) + "\"";
    if (b < 0x20 || b == 0x7F) return "the name holds a control character";
  }
  if (name.front() == '[' && name.back() == ']') return "the name is written like a section header";
  return {};
}

namespace {
void Check(std::string_view what, std::string_view name) {
  std::string problem = NameProblem(name);
  if (!problem.empty())
    throw NameError("The " + std::string(what) + " \"" + std::string(name) +
                    "\" cannot be used as a file name: " + problem + ".");
}
}  // namespace

void CheckDomainName(std::string_view domain) { Check("domain name", domain); }
void CheckProjectKey(std::string_view projectKey) { Check("project name", projectKey); }

}  // namespace qs
