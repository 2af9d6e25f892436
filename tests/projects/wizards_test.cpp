// The wizards: validation order and messages, the ways of adding, the created project file,
// the spider options and the import hand-off.
#include "projects/wizards.h"

#include <gtest/gtest.h>

#include "app/clock.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

TContactData Complete() {
  TContactData c;
  c.category = "Business";
  c.firstName = "Ada";
  c.lastName = "Lovelace";
  c.email = "ada@example.com";
  c.altEmail = "alt@example.com";
  c.company = "Engines Ltd";
  c.zip = "12345";
  return c;
}

struct Import : IImportHandOff {
  void StartImport(std::string_view mode, const std::string& url, const TNewProjectRecord& record,
                   const TSpiderOptions& options) override {
    calls.push_back({std::string(mode), url, record.domain, options.maxPages});
  }
  struct Call {
    std::string mode, url, domain, maxPages;
  };
  std::vector<Call> calls;
};

class WizardTest : public ::testing::Test {
 protected:
  WizardTest() { state.folder = dir.AppFolder(); }
  test::TempFolder dir;
  TAppState state;
  TScriptedAnswerer answers;
  TProjectEditor editor{state, answers};
  Import import;
};

TEST_F(WizardTest, NewDomainValidationShowsOnlyTheFirstFailure) {
  TNewDomainWizard w(state, editor, answers);
  w.Open();
  struct Case {
    std::string url;
    std::function<void(TContactData&)> blank;
    const char* message;
  } cases[] = {
      {"", [](TContactData& c) { c = {}; }, "You forgot to enter a URL."},
      {"http://a.com/", [](TContactData& c) { c = {}; }, "You forgot to enter a Category."},
      {"http://a.com/", [](TContactData& c) { c.category.clear(); c.email.clear(); }, "You forgot to enter a Category."},
      {"http://a.com/", [](TContactData& c) { c.firstName.clear(); c.lastName.clear(); }, "You forgot to enter your first name."},
      {"http://a.com/", [](TContactData& c) { c.lastName.clear(); }, "You forgot to enter your last name."},
      {"http://a.com/", [](TContactData& c) { c.email.clear(); c.altEmail.clear(); }, "You forgot to enter your email address."},
      {"http://a.com/", [](TContactData& c) { c.altEmail.clear(); }, "You forgot to enter your alternate email address."},
  };
  for (const auto& c : cases) {
    TContactData contact = Complete();
    c.blank(contact);
    w.SetUrl(c.url);
    w.SetContact(contact);
    const size_t before = answers.Calls().size();
    EXPECT_FALSE(w.LeaveStep1()) << c.message;
    ASSERT_EQ(answers.Calls().size(), before + 1);
    EXPECT_EQ(answers.Calls().back().text, c.message);
    EXPECT_EQ(answers.Calls().back().type, TMsgDlgType::Error);
    EXPECT_EQ(w.Step(), 1);
  }
  w.SetUrl("http://a.com/");
  w.SetContact(Complete());
  EXPECT_TRUE(w.LeaveStep1());
  EXPECT_EQ(w.Step(), 2);
}

TEST_F(WizardTest, JustAddCreatesTheDomainAndItsFirstProjectWithExactlyTheseKeys) {
  TNewDomainWizard w(state, editor, answers);
  w.Open();
  w.SetUrl("http://www.site.com/dir/page.html?id=3");
  w.SetContact(Complete());
  ASSERT_TRUE(w.LeaveStep1());
  EXPECT_FALSE(w.SpiderOptionsEnabled());
  ASSERT_TRUE(w.Add());
  EXPECT_EQ(editor.Domains(), std::vector<std::string>{"site.com"});
  EXPECT_EQ(editor.Projects(), std::vector<std::string>{"/dir/page.html"});
  EXPECT_EQ(editor.CurrentProjectKey(), "_dir_page.html");
  EXPECT_EQ(dir.Read("data/domains/projects/site.com/_dir_page.html.zro"),
            "[_dir_page.html]\r\nurl=http://www.site.com/dir/page.html?id=3\r\ntitle=\r\n"
            "email=ada@example.com\r\nalt_email=alt@example.com\r\ndescription=\r\n"
            "catagory=Business\r\nname=Ada\r\nlast=Lovelace\r\ncompany=Engines Ltd\r\naddress1=\r\n"
            "address2=\r\ncountry=\r\ncity=\r\nstate=\r\nphone=\r\nfax=\r\nzip=12345\r\nkey1=\r\n"
            "password=\r\nsubmitcustom=0\r\nsubmitengines=-1\r\nsubmitffa=-1\r\nsubmitnetworks=-1\r\n"
            "genreport=-1\r\n\r\n");
  EXPECT_EQ(dir.Read("data/domains/domains.zro"), "[Domains]\r\nCount=1\r\n\r\n[List]\r\nsite.com\r\n\r\n");
  EXPECT_EQ(dir.Read("data/domains/site.com.zro"), "[Session]\r\nCount=1\r\n\r\n[List]\r\n/dir/page.html\r\n\r\n");

  // The same site with or without www is a duplicate; a longer name ending the same is not.
  TNewDomainWizard again(state, editor, answers);
  again.Open();
  again.SetContact(Complete());
  again.SetUrl("http://site.com/other");
  EXPECT_FALSE(again.LeaveStep1());
  EXPECT_EQ(answers.Calls().back().text,
            "This domain is already in your domains list use \"New Project\" to add another url to "
            "this domain.");
  again.SetUrl("http://mysite.com/");
  EXPECT_TRUE(again.LeaveStep1());
}

TEST_F(WizardTest, ImportingChoicesCheckTheConnectionAndHandOver) {
  TNewDomainWizard w(state, editor, answers);
  w.importMonitor = &import;
  bool connected = false;
  w.IsConnected = [&] { return connected; };
  w.Open();
  EXPECT_EQ(state.spiderOptions.extensions, "All");
  EXPECT_EQ(state.spiderOptions.levelsDeep, "2");
  EXPECT_EQ(state.spiderOptions.maxPages, "1");
  w.SetUrl("http://shop.example/");
  w.SetContact(Complete());
  ASSERT_TRUE(w.LeaveStep1());
  w.SetChoice(TAddChoice::AddImportAuto);
  EXPECT_TRUE(w.SpiderOptionsEnabled());
  w.SpiderOptions().maxPages = "50";
  EXPECT_FALSE(w.Add());
  EXPECT_EQ(answers.Calls().back().text, "No internet connection was detected.");
  EXPECT_TRUE(editor.Domains().empty());  // nothing created
  EXPECT_TRUE(import.calls.empty());

  connected = true;
  EXPECT_TRUE(w.Add());
  EXPECT_EQ(editor.Domains(), std::vector<std::string>{"shop.example"});
  EXPECT_TRUE(editor.Projects().empty());  // the import adds the projects
  ASSERT_EQ(import.calls.size(), 1u);
  EXPECT_EQ(import.calls[0].mode, "addspidered");
  EXPECT_EQ(import.calls[0].url, "http://shop.example/");
  EXPECT_EQ(import.calls[0].maxPages, "50");

  struct Case {
    TAddChoice choice;
    const char* mode;
  } cases[] = {{TAddChoice::JustAddImport, "addspidered"}, {TAddChoice::AddImportManual, "justspider"}};
  for (const auto& c : cases) {
    TNewDomainWizard next(state, editor, answers);
    next.importMonitor = &import;
    next.Open();
    EXPECT_EQ(state.spiderOptions.maxPages, "1");  // every opening resets the options
    next.SetUrl("http://site" + std::to_string(import.calls.size()) + ".example/");
    next.SetContact(Complete());
    ASSERT_TRUE(next.LeaveStep1());
    next.SetChoice(c.choice);
    EXPECT_EQ(next.SpiderOptionsEnabled(), c.choice == TAddChoice::AddImportManual);
    ASSERT_TRUE(next.Add());
    EXPECT_EQ(import.calls.back().mode, c.mode);
  }
}

TEST_F(WizardTest, JustAddStartsWithAnEmptyTitleAfterAnImport) {
  state.newProject.title = "Imported title";
  state.newProject.keywords = "a,b";
  TNewDomainWizard w(state, editor, answers);
  w.Open();
  w.SetUrl("http://fresh.example/");
  w.SetContact(Complete());
  ASSERT_TRUE(w.LeaveStep1());
  ASSERT_TRUE(w.Add());
  EXPECT_EQ(editor.Text("title"), "");
  EXPECT_EQ(editor.Text("key1"), "");
}

TEST_F(WizardTest, NewProjectOfAnHttpsSiteStartsAtItsHttpsRoot) {
  TNewDomainWizard first(state, editor, answers);
  first.Open();
  first.SetUrl("https://secure.example/shop/index.htm");
  first.SetContact(Complete());
  ASSERT_TRUE(first.LeaveStep1());
  ASSERT_TRUE(first.Add());
  TNewProjectWizard w(state, editor, answers);
  w.Open();
  EXPECT_EQ(w.Url(), "https://secure.example/");
}

TEST_F(WizardTest, NewProjectPrefillsAndRefusesOtherSitesAndDuplicates) {
  TNewDomainWizard first(state, editor, answers);
  first.Open();
  first.SetUrl("http://www.site.com/index.htm");
  first.SetContact(Complete());
  ASSERT_TRUE(first.LeaveStep1());
  ASSERT_TRUE(first.Add());

  TNewProjectWizard w(state, editor, answers);
  w.Open();
  EXPECT_EQ(w.Url(), "http://www.site.com/");
  EXPECT_EQ(w.Contact(), Complete());
  struct Case {
    const char* url;
    const char* message;  // empty: accepted
  } cases[] = {
      {"", "You forgot to enter a URL."},
      {"http://site.com/index.htm?x=1",
       "This project is already in your Projects list. Please use a different url to make a new project."},
      {"http://other.com/a.htm",
       "You can not add a different domain to this project group. Select \"New Domain' to add this url."},
      {"http://www.site.com/", ""},
  };
  for (const auto& c : cases) {
    w.SetUrl(c.url);
    EXPECT_EQ(w.LeaveStep1(), std::string(c.message).empty()) << c.url;
    if (*c.message) {
      EXPECT_EQ(answers.Calls().back().text, c.message);
    }
  }
  ASSERT_TRUE(w.Add());
  EXPECT_EQ(editor.Projects(), (std::vector<std::string>{"/index.htm", "Index"}));
  EXPECT_EQ(editor.CurrentProjectKey(), "Index");
  EXPECT_EQ(editor.Text("name"), "Ada");
}

TEST_F(WizardTest, FieldLimitsAndNamesThatCannotBeFiles) {
  TNewDomainWizard w(state, editor, answers);
  w.Open();
  w.SetUrl("http://" + std::string(200, 'a'));
  EXPECT_EQ(w.Url().size(), 100u);
  TContactData c = Complete();
  c.company = std::string(59, 'c') + "\xC3\xA9";  // 61 bytes: the cut keeps whole characters
  w.SetContact(c);
  EXPECT_EQ(w.Contact().company, std::string(59, 'c'));

  w.SetContact(Complete());
  w.SetUrl("http://../x");
  ASSERT_TRUE(w.LeaveStep1());
  EXPECT_FALSE(w.Add());
  EXPECT_NE(answers.Calls().back().text.find("cannot be used as a file name"), std::string::npos);
  EXPECT_FALSE(dir.Exists("data"));
}

}  // namespace
}  // namespace qs
