// The Doorways page as behaviour: the page options and the three content blocks, kept in
// \dfd.ini and three files by Save Properties, and the preview built from one of the eight
// templates into \data\doorways\templates\temp.html, which Save As copies.
#pragma once

#include <string>
#include <string_view>

#include "app/appstate.h"
#include "app/dialogs.h"
#include "doorways/doorwaybuilder.h"
#include "metatags/metacatalogue.h"

namespace qs {

inline constexpr std::string_view kDoorHeaderFile = "\\data\\doorheader.htm";
inline constexpr std::string_view kDoorContentFile = "\\data\\doorcontent.htm";
inline constexpr std::string_view kDoorFooterFile = "\\data\\doorfooter.htm";
inline constexpr std::string_view kDoorPreviewFile = "\\data\\doorways\\templates\\temp.html";
inline constexpr int kDoorTemplateCount = 8;

// \data\doorways\templates\templateN.html
std::string DoorTemplateFile(int number);

class TDoorwayPage {
 public:
  TDoorwayPage(TAppState& state, const TMetaCatalogue& catalogue, IDialogs& dialogs);

  // The built-in header, body and footer, used where their files do not exist.
  static void BuiltinBlocks(TDoorwaySettings& settings);
  // A content block as a file holds it (one line per line) and back. Line breaks inside a
  // block are CR LF; the file's last line ends with one too.
  static std::string BlockFromFile(std::string_view bytes);
  static std::string BlockToFile(std::string_view block);
  // The thirteen [Doorway] keys (defaults when absent) and the block files that exist, as
  // start-up reads them. A colour that is not hexadecimal throws ConversionError.
  static void LoadSettings(const TAppFolder& folder, TDoorwaySettings& settings);

  TDoorwaySettings& Options() { return state_.doorway; }

  // The template list: 0 to 7, template number index + 1. -1 (none) builds the first.
  int SelectedTemplate() const { return selectedTemplate_; }
  void SelectTemplate(int index) { selectedTemplate_ = index; }

  // The project values of the current project; `editorUrl` is the project editor's URL.
  TDoorwayProject CurrentProject(const std::string& editorUrl) const;

  // Builds the page from the selected template and writes it to the preview file; message
  // 176 when the project has no title. A template that cannot be read throws IoError: the
  // preview file and Save As stay as they were. Returns the preview file's path.
  std::string Preview(const std::string& editorUrl);
  bool SaveAsEnabled() const { return saveAsEnabled_; }
  // The last preview written to `path`. Throws IoError.
  void SaveAs(const std::string& path);
  // Writes the thirteen keys, then the three block files.
  void SaveProperties();

 private:
  TAppState& state_;
  const TMetaCatalogue& catalogue_;
  IDialogs& dialogs_;
  int selectedTemplate_ = 0;
  bool saveAsEnabled_ = false;
};

}  // namespace qs
