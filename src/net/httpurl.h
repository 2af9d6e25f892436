// Addresses as the HTTP client reads them: splitting an address into its parts, and working
// out the address a Location header points to.
#pragma once

#include <string>
#include <string_view>

namespace qs {

struct THttpUrl {
  std::string scheme = "http";
  std::string user;
  std::string password;
  bool hasUser = false;  // the address carried a user part (an at sign)
  std::string host;
  std::string port;      // as written; empty when the address names none
  std::string path = "/";

  // scheme + "://" + host + (":" + port when one was written) + path; no user part.
  std::string Absolute() const;
};

// The scheme is the text before "://" when it holds only lower-case letters, digits, "+",
// "-" and "."; otherwise (or without "://") it is "http" and the whole text follows. The host
// part runs to the first "/" or "?"; the path is the rest from that character on, "/" when
// empty. In the host part, text up to the last at sign is the user part ("user:password"),
// and a ":" after the host starts the port.
THttpUrl SplitHttpUrl(std::string_view url);

// The address a Location value leads to from `current`: a value starting with "/" replaces
// the path; one starting with "http://" or "https://" replaces everything; anything else is
// relative to the directory of the current path (up to its last "/" before any "?"). A "#"
// fragment is dropped.
THttpUrl ResolveLocation(const THttpUrl& current, std::string_view value);

// The port of an address: 1 to 65535, `fallback` when none is written, 0 when the text is
// not a port.
unsigned PortNumber(std::string_view text, unsigned fallback);

}  // namespace qs
