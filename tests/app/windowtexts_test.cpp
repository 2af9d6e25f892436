// What choosing a tab does: the Database tab refused during a run, the Projects tab asking for
// a first domain, every other choice simply changing the page.
#include "app/windowtexts.h"

#include <gtest/gtest.h>

namespace qs {
namespace {

TEST(TabRules, ChoosingATab) {
  const TLanguageTable table;
  const struct {
    TPage page;
    bool noDomain, runActive;
    int answer;  // to a question, if one is asked
    bool asked, warned, change, openNewDomain;
  } cases[] = {
      {TPage::Database, false, true, 0, false, true, false, false},
      {TPage::Database, true, false, 0, false, false, true, false},
      {TPage::Projects, true, false, mrNo, true, false, true, false},
      {TPage::Projects, true, false, mrClosed, true, false, true, false},
      {TPage::Projects, true, true, mrYes, true, false, true, true},
      {TPage::Projects, false, true, 0, false, false, true, false},
      {TPage::Submit, true, true, 0, false, false, true, false},
  };
  for (const auto& c : cases) {
    TScriptedAnswerer answers;
    answers.Answer(c.answer);
    const TTabChoice choice = ChooseTab(c.page, c.noDomain, c.runActive, answers, table);
    const std::string what = "page " + std::to_string(int(c.page)) + " noDomain " +
                             std::to_string(c.noDomain) + " run " + std::to_string(c.runActive);
    EXPECT_EQ(choice.change, c.change) << what;
    EXPECT_EQ(choice.openNewDomain, c.openNewDomain) << what;
    ASSERT_EQ(answers.Calls().size(), size_t(c.asked || c.warned)) << what;
    if (c.warned) {
      EXPECT_EQ(answers.Calls()[0].text, table.Lookup("nodbedit"));
      EXPECT_EQ(answers.Calls()[0].type, TMsgDlgType::Warning);
    }
    if (c.asked) {
      EXPECT_EQ(answers.Calls()[0].text, table.Lookup("175"));
      EXPECT_EQ(answers.Calls()[0].buttons, TMsgDlgButtons(mbYes | mbNo));
    }
  }
}

TEST(Mnemonics, EachCaptionTakesItsFirstFreeLetter) {
  const struct {
    std::vector<std::string> captions;
    std::vector<std::string> marked;
  } cases[] = {
      {{"Projects", "Submit", "Ranking", "MetaTags", "Doorway Pages", "Reports", "Database"},
       {"&Projects", "&Submit", "&Ranking", "&MetaTags", "&Doorway Pages", "R&eports", "D&atabase"}},
      // A caption that marks its own letter keeps it, and no other caption takes that letter.
      {{"Open", "&Options"}, {"O&pen", "&Options"}},
      // "&&" is an ampersand shown as such, not a mark.
      {{"Q&&A", "Quit"}, {"&Q&&A", "Q&uit"}},
      // Letters only; a caption whose letters are all taken stays without a mark.
      {{"Ab", "ab", "1 BA"}, {"&Ab", "a&b", "1 BA"}},
      {{"Ítem", "ítem"}, {"&Ítem", "í&tem"}},
  };
  for (const auto& c : cases) EXPECT_EQ(WithMnemonics(c.captions), c.marked);
}

}  // namespace
}  // namespace qs
