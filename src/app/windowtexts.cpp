#include "app/windowtexts.h"

namespace qs {

std::string TabCaptionHtml(std::string_view text) {
  return "<B><P align=\"right\"><A href=\"hover\">" + std::string(text) + "</a></P></B>";
}

std::optional<std::array<int, kTabCount>> TabWidths(std::string_view lang) {
  const bool english = lang == "english";
  if (!english && lang != "spanish") return std::nullopt;
  std::array<int, kTabCount> widths{};
  for (int i = 0; i < kTabCount; ++i)
    widths[i] = english ? kTabRules[i].englishWidth : kTabRules[i].spanishWidth;
  return widths;
}

TTabChoice ChooseTab(TPage page, bool noDomain, bool runActive, IDialogs& dialogs,
                     const TLanguageTable& table) {
  if (page == TPage::Database && runActive) {
    dialogs.Message(table.Lookup("nodbedit"), TMsgDlgType::Warning);
    return {false, false};
  }
  if (page == TPage::Projects && noDomain) return {true, dialogs.Ask(table.Lookup("175"))};
  return {};
}

std::string DoorwayTemplateEntryHtml(std::string_view name, int number) {
  return "<P align=\"center\"><B>" + std::string(name) + "</B><BR><img src=\"idx:" +
         std::to_string(number) + "\"></p>";
}

std::string_view HelpFileForContext(int helpContext) {
  constexpr int count = sizeof(kHelpTopics) / sizeof(kHelpTopics[0]);
  if (helpContext >= 1 && helpContext <= count) return kHelpTopics[helpContext - 1].file;
  return kHelpTopics[0].file;
}

}  // namespace qs
