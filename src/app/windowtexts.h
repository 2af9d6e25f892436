// What the windows show that is a rule rather than a layout: the tab captions and widths the
// language table gives, what choosing a tab does, the doorway template entries, and the help
// window's topics.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/dialogs.h"
#include "app/langtable.h"

namespace qs {

// The main window's pages, the seven tabs in strip order, then About.
enum class TPage { Projects, Submit, Ranking, MetaTags, Doorways, Reports, Database, About };
inline constexpr int kTabCount = 7;

struct TTabRule {
  TPage page;
  std::string_view captionKey;
  int englishWidth, spanishWidth;
};
// In strip order.
inline constexpr std::array<TTabRule, kTabCount> kTabRules = {{
    {TPage::Projects, "45", 70, 77},
    {TPage::Submit, "47", 60, 57},
    {TPage::Ranking, "51", 70, 70},
    {TPage::MetaTags, "48", 80, 80},
    {TPage::Doorways, "49", 78, 90},
    {TPage::Reports, "50", 67, 70},
    {TPage::Database, "58", 76, 100},
}};

// <B><P align="right"><A href="hover">text</a></P></B>
std::string TabCaptionHtml(std::string_view text);

// The tab widths, in strip order, for a table whose lang value is "english" or "spanish";
// nothing for any other language (the tabs keep their widths).
std::optional<std::array<int, kTabCount>> TabWidths(std::string_view lang);

// What choosing a tab does: whether the page changes, and whether the new-domain wizard opens.
struct TTabChoice {
  bool change = true;
  bool openNewDomain = false;
};
// Database while a submission run is active: the warning nodbedit, and the page stays.
// Projects without a domain: question 175; Yes opens the new-domain wizard (the page changes
// either way).
TTabChoice ChooseTab(TPage page, bool noDomain, bool runActive, IDialogs& dialogs,
                     const TLanguageTable& table);

// An entry of the doorway template list: <P align="center"><B>name</B><BR><img src="idx:n"></p>
std::string DoorwayTemplateEntryHtml(std::string_view name, int number);

struct THelpTopic {
  std::string_view title, file;
  std::string_view key;  // the caption's key in the language table
};
// The help window's topic menu, in menu order; the window opens on the first.
inline constexpr THelpTopic kHelpTopics[] = {
    {"Domains List", "dompro.html", "helpdomainslist"},
    {"Projects List", "dompro.html", "helpprojectslist"},
    {"Create New Domain", "addnewdomain.html", "344"},
    {"Create New Project", "addnewproject.html", "349"},
    {"Information", "proinfo.html", "339"},
    {"Options", "prooptions.html", "340"},
    {"Schedule", "proschedule.html", "341"},
    {"Submission History", "prohistory.html", "342"},
    {"Auto Submit Engines", "submitauto.html", "354"},
    {"Manual Engines", "submitman.html", "355"},
    {"Scheduled Submissions", "subschedule.html", "63"},
    {"Ranking", "ranking.html", "51"},
    {"MetaTag Creator", "metatagcreator.html", "216"},
    {"MetaTag Editor", "metatageditor.html", "217"},
    {"Timeouts/Ports", "timeouts.html", "361"},
    {"Proxy Settings", "proxy.html", "309"},
    {"Reports", "reportoptions.html", "50"},
    {"Doorway Pages", "doorwaybuilder.html", "52"},
    {"Main Database", "datamain.html", "360"},
    {"Custom Database", "datamain.html", "261"},
    {"Database Updates", "dbupdate.html", "262"},
};
inline constexpr std::string_view kHelpFolder = "\\data\\help\\";

// The help page a dialog's Help button opens. The dialogs' callers give no topic numbers of
// their own, so a help context n from 1 is the n-th topic of the menu above and anything
// else the first page.
std::string_view HelpFileForContext(int helpContext);

// The captions of one menu (or of the menu bar) with a keyboard mnemonic each: a caption
// that already marks one with "&" keeps it; any other gets "&" before its first letter that
// no caption before it in the list uses (letter case ignored), or none when every letter is
// taken. Captions are UTF-8.
std::vector<std::string> WithMnemonics(const std::vector<std::string>& captions);

}  // namespace qs
