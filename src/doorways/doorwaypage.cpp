#include "doorways/doorwaypage.h"

#include <cerrno>

#include "app/errors.h"
#include "app/settings.h"
#include "app/text.h"
#include "metatags/metatagblock.h"
#include "platform/filesystem.h"
#include "projects/domainstore.h"
#include "projects/projectkeys.h"

namespace qs {

namespace {

std::string JoinLines(const std::vector<std::string_view>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text.append(lines[i]);
  }
  return text;
}

std::string ReadExisting(const std::string& path) {
  auto bytes = ReadFileBytes(path);
  if (!bytes) throw IoError(OsErrorText("Cannot open file", path, ENOENT));
  return std::move(*bytes);
}

}  // namespace

std::string DoorTemplateFile(int number) {
  return "\\data\\doorways\\templates\\template" + std::to_string(number) + ".html";
}

TDoorwayPage::TDoorwayPage(TAppState& state, const TMetaCatalogue& catalogue, IDialogs& dialogs)
    : state_(state), catalogue_(catalogue), dialogs_(dialogs) {}

void TDoorwayPage::BuiltinBlocks(TDoorwaySettings& settings) {
  settings.header = "$title";
  settings.content =
      "If you are searching for one or more of the topics below...\r\n"
      "$keywords\r\n"
      "Then look no further $url has the topics you are looking for\r\n"
      "$description\r\n"
      "You will find our site $url freindly to navigate and full of information on your "
      "topic.\r\n"
      "click here $url if you are not automaticaly farwarded to our site";
  settings.footer = "$copyright";
}

std::string TDoorwayPage::BlockFromFile(std::string_view bytes) {
  return JoinLines(SplitLines(bytes));
}

std::string TDoorwayPage::BlockToFile(std::string_view block) {
  std::string bytes;
  for (std::string_view line : SplitLines(block)) bytes.append(line).append("\r\n");
  return bytes;
}

void TDoorwayPage::LoadSettings(const TAppFolder& folder, TDoorwaySettings& d) {
  TBiggerIniFile ini(folder.Path(kSettingsFile));
  try {
    TSettings settings(ini, folder);
    ReadDoorwaySettings(settings, d);
  } catch (...) {
    ini.Close();
    throw;
  }
  ini.Close();
  BuiltinBlocks(d);
  const std::pair<std::string_view, std::string*> blocks[] = {
      {kDoorHeaderFile, &d.header}, {kDoorContentFile, &d.content}, {kDoorFooterFile, &d.footer}};
  for (auto [file, text] : blocks)
    if (auto bytes = ReadFileBytes(folder.Path(file))) *text = BlockFromFile(*bytes);
}

TDoorwayProject TDoorwayPage::CurrentProject(const std::string& editorUrl) const {
  TDoorwayProject p;
  p.editorUrl = editorUrl;
  const std::string& domain = state_.currentDomain;
  const std::string& key = state_.currentProjectKey;
  if (domain.empty() || key.empty()) return p;
  const TDomainStore store(state_.folder);
  TBigIniFile ini(store.ProjectFile(domain, key));
  p.url = ini.ReadText(key, "url", "");
  p.title = ini.ReadText(kMetaTagsSection, "title", "");
  p.description = ini.ReadText(kMetaTagsSection, "description", "");
  p.copyright = ini.ReadText(kMetaTagsSection, "copyright", "");
  p.keywords = ini.ReadText(kMetaTagsSection, "keywords", "");
  ini.Close();
  p.metaTags = MetaTagBlock(catalogue_, store, domain, key, "\r\n");
  return p;
}

std::string TDoorwayPage::Preview(const std::string& editorUrl) {
  const int number = selectedTemplate_ >= 0 && selectedTemplate_ < kDoorTemplateCount
                         ? selectedTemplate_ + 1
                         : 1;
  const std::string templateText =
      JoinLines(SplitLines(ReadExisting(state_.folder.Path(DoorTemplateFile(number)))));
  const TDoorwayProject project = CurrentProject(editorUrl);
  const std::string page = BuildDoorwayPage(templateText, state_.doorway, project, [this] {
    dialogs_.Message(state_.languageTable.Lookup("176"), TMsgDlgType::Error);
  });
  const std::string path = state_.folder.Path(kDoorPreviewFile);
  WriteFileAtomically(path, BlockToFile(page));
  saveAsEnabled_ = true;
  return path;
}

void TDoorwayPage::SaveAs(const std::string& path) {
  if (!saveAsEnabled_) return;
  WriteFileAtomically(path, ReadExisting(state_.folder.Path(kDoorPreviewFile)));
}

void TDoorwayPage::SaveProperties() {
  using namespace setting;
  const TDoorwaySettings& d = state_.doorway;
  TBiggerIniFile ini(state_.folder.Path(kSettingsFile));
  TSettings settings(ini, state_.folder);
  settings.WriteNumber(kDoorBorder, d.border);
  settings.WriteColour(kDoorBorderColor, d.borderColor);
  settings.WriteColour(kDoorPageBgColor, d.pageBgColor);
  settings.WriteColour(kDoorTableBgColor, d.tableBgColor);
  settings.WriteNumber(kDoorCellPadding, d.cellPadding);
  settings.WriteNumber(kDoorCellSpacing, d.cellSpacing);
  settings.WriteNumber(kDoorTitleSize, d.titleSize);
  settings.WriteText(kDoorTitleFace, d.titleFace);
  settings.WriteColour(kDoorTitleColor, d.titleColor);
  settings.WriteNumber(kDoorBodySize, d.bodySize);
  settings.WriteText(kDoorBodyFace, d.bodyFace);
  settings.WriteColour(kDoorBodyColor, d.bodyColor);
  settings.WriteText(kDoorJava, d.java);
  ini.Close();
  WriteFileAtomically(state_.folder.Path(kDoorHeaderFile), BlockToFile(d.header));
  WriteFileAtomically(state_.folder.Path(kDoorContentFile), BlockToFile(d.content));
  WriteFileAtomically(state_.folder.Path(kDoorFooterFile), BlockToFile(d.footer));
}

}  // namespace qs
