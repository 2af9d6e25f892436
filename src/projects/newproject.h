// What the wizards hand on: the new project record, the spider options, the way of adding
// and the import hand-off.
#pragma once

#include <string>
#include <string_view>

namespace qs {

// The owner's contact data and the category, as the wizards' first step collects them.
struct TContactData {
  std::string category, firstName, lastName, email, altEmail, password, company, address1,
      address2, city, state, zip, country, phone, fax;
  bool operator==(const TContactData&) const = default;
};

// The data from which Create project makes a project file.
struct TNewProjectRecord {
  std::string url, domain, listedName;
  std::string title, description, keywords;
  TContactData contact;
};

// The site import's options, shared by both wizards and the import monitor.
struct TSpiderOptions {
  std::string extensions = "All";  // "All", ".htm", ".html", ".asp", ".php", ".cfm", ".shtml", ".shtm"
  std::string levelsDeep = "2";    // digits only
  std::string maxPages = "1";      // digits only
};

enum class TAddChoice { JustAdd, JustAddImport, AddImportManual, AddImportAuto };

inline bool Imports(TAddChoice c) {
  return c == TAddChoice::AddImportManual || c == TAddChoice::AddImportAuto;
}

// Import modes of the import monitor.
inline constexpr std::string_view kAddSpidered = "addspidered";
inline constexpr std::string_view kJustSpider = "justspider";
inline constexpr std::string_view kUpdateProject = "updateproject";

// The import monitor, as the wizards start it: it is shown, its Stop command enabled, and
// the import started in the mode from the start URL, with the record and spider options.
class IImportHandOff {
 public:
  virtual ~IImportHandOff() = default;
  virtual void StartImport(std::string_view mode, const std::string& startUrl,
                           const TNewProjectRecord& record, const TSpiderOptions& options) = 0;
};

}  // namespace qs
