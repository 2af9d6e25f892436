#include "submit/classification.h"

#include <charconv>

#include "engines/enginefields.h"

namespace qs {

TRequestResult HeaderEndResult(int code, std::string_view reason, const TLanguageTable& language) {
  TRequestResult r{code, {}};
  if (code == 0) {
    r.text = language.Lookup("132");
  } else if (code == 302) {
    r.text = language.Lookup("119");
  } else {
    r.text = std::string(reason);
  }
  if (r.text.empty()) {
    // A status line without a reason phrase is judged by its code like any other: taking it
    // as "OK" would report a refused submission (a bare "404") as a success.
    r.text = ClassOf(code) == TResultClass::Ok ? language.Lookup("119") : std::string(StandardReason(code));
    if (r.text.empty()) r.text = std::to_string(code);
  }
  return r;
}

std::string_view StandardReason(int code) {
  switch (code) {
    case 303: return "See Other";
    case 304: return "Not Modified";
    case 307: return "Temporary Redirect";
    case 308: return "Permanent Redirect";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 402: return "Payment Required";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 406: return "Not Acceptable";
    case 408: return "Request Timeout";
    case 409: return "Conflict";
    case 410: return "Gone";
    case 411: return "Length Required";
    case 413: return "Content Too Large";
    case 414: return "URI Too Long";
    case 415: return "Unsupported Media Type";
    case 422: return "Unprocessable Content";
    case 429: return "Too Many Requests";
    case 500: return "Internal Server Error";
    case 501: return "Not Implemented";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    case 504: return "Gateway Timeout";
    default: return {};
  }
}

TResultClass ClassOf(int status) {
  if (status >= 1 && status <= 302) return TResultClass::Ok;
  if (status == 408) return TResultClass::Timeout;
  return TResultClass::Failed;
}

long long RowCount(std::string_view eCount) {
  while (!eCount.empty() && eCount.front() == ' ') eCount.remove_prefix(1);
  while (!eCount.empty() && eCount.back() == ' ') eCount.remove_suffix(1);
  long long value = 0;
  const auto [end, ec] = std::from_chars(eCount.data(), eCount.data() + eCount.size(), value);
  if (eCount.empty() || ec != std::errc() || end != eCount.data() + eCount.size()) return 1;
  return NetworkSize(value);
}

}  // namespace qs
