#include "net/httpurl.h"

namespace qs {

namespace {

bool IsSchemeChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

}  // namespace

std::string THttpUrl::Absolute() const {
  std::string text = scheme + "://" + host;
  if (!port.empty()) text += ":" + port;
  return text + path;
}

THttpUrl SplitHttpUrl(std::string_view url) {
  THttpUrl parts;
  std::string_view rest = url;
  const size_t mark = url.find("://");
  if (mark != std::string_view::npos && mark > 0) {
    bool scheme = true;
    for (char c : url.substr(0, mark)) scheme = scheme && IsSchemeChar(c);
    if (scheme) {
      parts.scheme = std::string(url.substr(0, mark));
      rest = url.substr(mark + 3);
    }
  }
  const size_t pathStart = rest.find_first_of("/?");
  std::string_view hostPart = rest.substr(0, pathStart);
  if (pathStart != std::string_view::npos) parts.path = std::string(rest.substr(pathStart));
  if (parts.path.empty()) parts.path = "/";

  const size_t at = hostPart.rfind('@');
  if (at != std::string_view::npos) {
    const std::string_view userPart = hostPart.substr(0, at);
    parts.hasUser = true;
    const size_t colon = userPart.find(':');
    parts.user = std::string(userPart.substr(0, colon));
    if (colon != std::string_view::npos) parts.password = std::string(userPart.substr(colon + 1));
    hostPart = hostPart.substr(at + 1);
  }
  const size_t colon = hostPart.find(':');
  parts.host = std::string(hostPart.substr(0, colon));
  if (colon != std::string_view::npos) parts.port = std::string(hostPart.substr(colon + 1));
  return parts;
}

THttpUrl ResolveLocation(const THttpUrl& current, std::string_view value) {
  const size_t hash = value.find('#');
  if (hash != std::string_view::npos) value = value.substr(0, hash);
  if (value.rfind("http://", 0) == 0 || value.rfind("https://", 0) == 0) return SplitHttpUrl(value);
  THttpUrl next = current;
  next.user.clear();
  next.password.clear();
  next.hasUser = false;
  if (!value.empty() && value.front() == '/') {
    next.path = std::string(value);
    return next;
  }
  const std::string& path = current.path;
  const size_t query = path.find('?');
  const size_t slash = path.rfind('/', query == std::string::npos ? std::string::npos : query);
  std::string directory = slash == std::string::npos ? "/" : path.substr(0, slash + 1);
  next.path = directory + std::string(value);
  return next;
}

unsigned PortNumber(std::string_view text, unsigned fallback) {
  if (text.empty()) return fallback;
  if (text.size() > 5) return 0;
  unsigned value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  return value >= 1 && value <= 65535 ? value : 0;
}

}  // namespace qs
