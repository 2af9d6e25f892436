#include "app/langtable.h"

#include "app/errors.h"
#include "app/text.h"
#include "platform/filesystem.h"

namespace qs {

// Generated from data/english.txt at build time.
extern const unsigned char kBuiltinEnglishTable[];
extern const unsigned long kBuiltinEnglishTableSize;

void TLanguageTable::LoadBuiltin() {
  lines_ = SplitLines(std::string_view(reinterpret_cast<const char*>(kBuiltinEnglishTable), kBuiltinEnglishTableSize));
}

std::string TLanguageTable::KeyOf(const std::string& line) {
  auto eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

std::string TLanguageTable::Lookup(std::string_view key) const {
  for (const auto& line : lines_) {
    if (line.size() > key.size() && line[key.size()] == '=' &&
        EqualsIgnoreCase(std::string_view(line).substr(0, key.size()), key) &&
        line.find('=') == key.size())
      return line.substr(key.size() + 1);
  }
  return {};
}

std::vector<std::string> TLanguageTable::SplitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  for (std::string_view line : qs::SplitLines(bytes)) lines.emplace_back(line);
  return lines;
}

void TLanguageTable::LoadTable(const std::string& path) {
  auto bytes = ReadFileBytes(path);
  if (!bytes) throw IoError("Cannot open " + path + ": No such file or directory");
  lines_ = SplitLines(*bytes);
}

void SwitchLanguage(TLanguageTable& table, const TAppFolder& folder, TLanguage language) {
  if (language == TLanguage::English) {
    table.LoadTable(folder.Path("\\english.txt"));
    return;
  }
  table.Clear();
  table.LoadTable(folder.Path("\\spanish.txt"));
}

void LoadChosenTable(TLanguageTable& table, const TAppFolder& folder, std::string_view choice) {
  TLanguageTable chosen;
  if (choice == "spanish") {
    SwitchLanguage(chosen, folder, TLanguage::Spanish);
  } else if (choice == "custom") {
    chosen.Clear();
    chosen.LoadTable(folder.Path("\\lang.ini"));
  } else if (choice != "english") {
    throw ConversionError("'" + std::string(choice) + "' is not a language of the program");
  }
  table = std::move(chosen);
}

bool LoadStartupTable(TLanguageTable& table, const TAppFolder& folder) {
  const std::string path = folder.Path("\\lang.ini");
  if (!FileExists(path)) return false;
  table.LoadTable(path);
  return true;
}

}  // namespace qs
