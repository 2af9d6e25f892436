// The status line of a fetched page, composed by the import mode from the answer's reason
// phrase, and the import modes themselves.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/langtable.h"

namespace qs {

enum class TImportMode { AddSpidered, JustSpider, UpdateProject };

// "addspidered", "justspider" and "updateproject"; none for any other text.
std::optional<TImportMode> ParseImportMode(std::string_view mode);
std::string_view ImportModeName(TImportMode mode);

// The texts the import monitor shows, looked up once when an import starts.
struct TImportTexts {
  explicit TImportTexts(const TLanguageTable& language);
  std::string status;         // 143 "Status:"
  std::string connecting;     // 168 "Connecting..."
  std::string statusConnecting;  // 380 "Status: <b>Connecting...</b>"
  std::string complete;       // 400 "Complete"
  std::string waiting;        // 401 "Status: Waiting"
  std::string level;          // 402 "Level:"
  std::string stopped;        // 403 "Import Stopped"
  std::string finished;       // 404 "Import Finished"
  std::string updateIt;       // 405 "Update it?"
  std::string exists;         // 406 "Project already exists"
  std::string added;          // 407 "Succesfully added new project"
  std::string failed;         // 408 "Failed to add project"
  std::string addIt;          // 409 "Add to projects?"
  std::string extracting;     // 410 "Extracting Urls"
  std::string checking;       // 411 "Checking Duplicates"
  std::string projectAdded;   // 412 "Status: <b>Project Added</b>"
  std::string projectUpdated; // 413 "Status: <b>Project Updated</b>"
  std::string title;          // [lables] label3 "Title:"
  std::string description;    // label4 "Description:"
  std::string keywords;       // label19 "Keywords:"
};

struct TPageStatus {
  std::string text;
  bool createsProject = false;  // "addspidered", a good answer, a page not yet a project
};

// The status line of the page at `url` whose answer had the reason phrase `reason` ("OK"
// alone is success); `isProject` tells whether the page's listed name is in the project
// list.
TPageStatus PageStatus(TImportMode mode, std::string_view reason, std::string_view url,
                       bool isProject, const TImportTexts& texts);

// The status line of a page whose request could not be started.
std::string StartFailedStatus(std::string_view reason, const TImportTexts& texts);

}  // namespace qs
