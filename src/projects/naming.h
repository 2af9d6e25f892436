// How domains and projects are named, and which names may become file names.
//
// Domain name: the host of the site's URL without a leading "www.". Listed name: the path of
// a project's URL cut before any "?", or "Index" for the site root. ProjectKey: the listed
// name with every "/" replaced by "_"; the base name of the project's files.
#pragma once

#include <string>
#include <string_view>

namespace qs {

struct TUrlParts {
  std::string host;  // without user part and port
  std::string path;  // from the "/" or "?" after the host part on; "/" when nothing follows
};

// The host part is the text after "://" (from the start when there is none) up to the first
// "/" or "?"; in it, text up to the last "@" is a user part and a ":" starts a port.
TUrlParts SplitUrl(std::string_view url);

std::string DomainNameOf(std::string_view url);
std::string ListedNameOf(std::string_view url);
std::string ProjectKeyOf(std::string_view listedName);
// The way back from a ProjectKey (schedule entries): every "_" becomes "/". Exact only for
// listed names without "_"; ProjectKeyOf() of the result always gives the key back.
std::string ListedNameOfKey(std::string_view projectKey);

// Names become file and folder names inside the application folder. Refused, with a
// NameError that says why: an empty name, "." and "..", a name holding "/", "\", NUL or any
// other control character, a name that would read back as a section header ("[...]"), and a
// name longer than kMaxNameBytes (the files made from it must fit the file system's limit).
inline constexpr size_t kMaxNameBytes = 240;
void CheckDomainName(std::string_view domain);
void CheckProjectKey(std::string_view projectKey);
// The reason a name is refused, or an empty text when it may be used.
std::string NameProblem(std::string_view name);

}  // namespace qs
