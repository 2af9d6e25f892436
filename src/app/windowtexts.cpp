#include "app/windowtexts.h"

#include <QSet>
#include <QString>

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

std::vector<std::string> WithMnemonics(const std::vector<std::string>& captions) {
  // The letter after a single "&" ("&&" stands for an ampersand shown as such).
  auto marked = [](const QString& c) -> QChar {
    for (qsizetype i = 0; i + 1 < c.size(); ++i) {
      if (c[i] != QLatin1Char('&')) continue;
      if (c[i + 1] == QLatin1Char('&')) {
        ++i;
        continue;
      }
      return c[i + 1].toLower();
    }
    return {};
  };
  std::vector<QString> texts;
  QSet<QChar> used;
  for (const std::string& c : captions) {
    texts.push_back(QString::fromStdString(c));
    if (const QChar m = marked(texts.back()); !m.isNull()) used.insert(m);
  }
  std::vector<std::string> out;
  for (QString& text : texts) {
    if (marked(text).isNull()) {
      for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
          ++i;
          continue;
        }
        if (!text[i].isLetter() || used.contains(text[i].toLower())) continue;
        used.insert(text[i].toLower());
        text.insert(i, QLatin1Char('&'));
        break;
      }
    }
    out.push_back(text.toStdString());
  }
  return out;
}

}  // namespace qs
