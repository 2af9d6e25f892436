// The import against a real web site: nginx on loopback serving a generated site of a few
// hundred pages. The expected queue comes from the site's own link graph.
#include <gtest/gtest.h>

#include "metatags/metaupdate.h"
#include "projects/wizards.h"
#include "spider/importfixture.h"
#include "spider/sitegen.h"
#include "support/fakeconnection.h"
#include "support/peers.h"

namespace qs {
namespace {

class SiteTest : public test::ImportFixture {
 protected:
  void SetUp() override {
    QS_REQUIRE_PEER(nginx);
    site = std::make_unique<test::GeneratedSite>(nginx.Base(), nginx.Port());
    for (const test::SitePage& page : site->Pages()) nginx.Folder().Write("www/" + page.file, page.html);
  }
  std::string Root() const { return site->Url("/"); }
  std::string Path(size_t node) const {
    return monitor.Tree().Node(node).url.substr(nginx.Base().size());
  }
  // The lines a fetched page of the site shows.
  void ExpectPageLines(size_t node) const {
    const test::SitePage* page = site->Find(Path(node));
    ASSERT_NE(page, nullptr);
    const TImportLines& lines = monitor.Tree().Node(node).lines;
    EXPECT_EQ(lines[kTitleLine], page->title ? "Title: " + *page->title : "Title:") << page->path;
    EXPECT_EQ(lines[kDescriptionLine],
              page->description ? "Description: " + *page->description : "Description:")
        << page->path;
    EXPECT_EQ(lines[kKeywordsLine], page->keywords ? "Keywords: " + *page->keywords : "Keywords:")
        << page->path;
    const std::string& p = page->path;
    EXPECT_EQ(lines[kLevelLine], "Level: " + std::to_string(std::count(p.begin(), p.end(), '/')));
  }

  test::NginxPeer nginx;
  std::unique_ptr<test::GeneratedSite> site;
};

TEST_F(SiteTest, AWholeCrawlQueuesTheLinkGraphInOrderAndShowsEveryPage) {
  std::vector<size_t> spideredAtStatus;
  monitor.OnPageStatus = [&](size_t node) {
    EXPECT_EQ(monitor.CurrentNode(), node);
    spideredAtStatus.push_back(monitor.UrlsSpidered());
  };
  ASSERT_EQ(Run(TImportMode::JustSpider, Root(), "10", "100000"), TImportEnd::Finished);
  const std::vector<std::string> expected = site->Expected("/", 10, 100000);
  ASSERT_GT(expected.size(), 150u) << "the site's pages are reachable";
  ASSERT_EQ(Urls(), expected);

  size_t missing = 0;
  for (size_t i = 0; i < monitor.Tree().Count(); ++i) {
    const std::string& url = monitor.Tree().Node(i).url;
    if (site->Find(Path(i))) {
      EXPECT_EQ(Status(i), "Status: <b>OK</b> <a href=\"add\" value=\"" + url +
                               "\">Add to projects?</a>");
      ExpectPageLines(i);
    } else {
      ++missing;
      EXPECT_EQ(Status(i), "Status: <b>Not Found</b>") << url;
    }
    EXPECT_TRUE(monitor.Tree().Node(i).expanded);
    EXPECT_EQ(spideredAtStatus.at(i), i);
  }
  EXPECT_GT(missing, 0u);
  EXPECT_EQ(monitor.UrlsFound(), expected.size());
  EXPECT_EQ(monitor.UrlsSpidered(), expected.size());
  EXPECT_EQ(monitor.Tree().EntryCount(), 6 * expected.size());
  // Thirty lines kept before each trimmed line, then the untrimmed finish.
  const auto& log = monitor.Log().Lines();
  ASSERT_EQ(log.size(), 32u);
  EXPECT_EQ(std::vector<std::string>(log.end() - 5, log.end()),
            (std::vector<std::string>{"Connecting...", "Extracting Urls", "Checking Duplicates",
                                      "Complete", "Import Finished"}));
  EXPECT_TRUE(editor.Projects().empty());
}

TEST_F(SiteTest, LevelsMaximumAndTheExtensionFilterBoundTheQueue) {
  struct Case {
    const char* levels;
    const char* maxPages;
    const char* filter;
  } cases[] = {
      {"2", "100000", "All"},  // root (1) and first-level folders (2) only
      {"1", "100000", "All"},
      {"3", "40", "All"},
      {"10", "1", "All"},  // only the start URL
      {"10", "100000", ".htm"},
      {"10", "100000", ".shtml"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.levels) + " " + c.maxPages + " " + c.filter);
    ASSERT_EQ(Run(TImportMode::JustSpider, Root(), c.levels, c.maxPages, c.filter),
              TImportEnd::Finished);
    EXPECT_EQ(Urls(), site->Expected("/", std::stoi(c.levels), std::stoi(c.maxPages), c.filter));
  }
  ASSERT_EQ(Run(TImportMode::JustSpider, Root(), "10", "1"), TImportEnd::Finished);
  EXPECT_EQ(Urls(), std::vector<std::string>{Root()});
  ASSERT_EQ(Run(TImportMode::JustSpider, Root(), "2", "100000"), TImportEnd::Finished);
  for (const std::string& url : Urls()) {
    const size_t slashes = std::count(url.begin() + 7, url.end(), '/');
    EXPECT_LE(slashes, 2u) << url;
  }
}

TEST_F(SiteTest, AddSpideredMakesProjectsOfTheGoodPagesOnly) {
  const std::vector<std::string> expected = site->Expected("/", 10, 30);
  // A page the import reaches is a project already.
  const test::SitePage* reached = nullptr;
  for (size_t i = 1; i < expected.size() && !reached; ++i)
    reached = site->Find(expected[i].substr(nginx.Base().size()));
  ASSERT_NE(reached, nullptr);
  const test::SitePage& known = *reached;
  AddProject(site->Url(known.path), known.path, "Kept title");
  ASSERT_EQ(Run(TImportMode::AddSpidered, Root(), "10", "30"), TImportEnd::Finished);
  ASSERT_EQ(Urls(), expected);
  std::vector<std::string> projects;
  for (size_t i = 0; i < monitor.Tree().Count(); ++i) {
    const test::SitePage* page = site->Find(Path(i));
    const std::string listed = ListedNameOf(monitor.Tree().Node(i).url);
    if (!page) {
      EXPECT_EQ(Status(i), "Status: <b>Not Found Failed to add project</b>");
      EXPECT_FALSE(dir.Exists("data/domains/projects/127.0.0.1/" + ProjectKeyOf(listed) + ".zro"));
      continue;
    }
    projects.push_back(listed);
    if (page->path == known.path) {
      EXPECT_EQ(Status(i), "Status: <b>OK Project already exists.</b> <a href=\"update\" value=\"" +
                               monitor.Tree().Node(i).url + "\">Update it?</a>");
      EXPECT_EQ(ProjectValue(listed, "title"), "Kept title");
      continue;
    }
    EXPECT_EQ(Status(i), "Status: <b>OK Succesfully added new project</b>");
    EXPECT_EQ(ProjectValue(listed, "title"), page->title.value_or("")) << listed;
    EXPECT_EQ(ProjectValue(listed, "description"), page->description.value_or("")) << listed;
    EXPECT_EQ(ProjectValue(listed, "key1"), page->keywords.value_or("")) << listed;
    EXPECT_EQ(ProjectValue(listed, "email"), "ada@example.com");
  }
  if (std::find(projects.begin(), projects.end(), known.path) == projects.end())
    projects.push_back(known.path);
  SortNames(projects);
  EXPECT_EQ(editor.Projects(), projects);
  EXPECT_EQ(TDomainStore(dir.AppFolder()).ReadProjectList("127.0.0.1"), projects);
}

TEST_F(SiteTest, TheNewProjectWizardImportsWithItsSpiderOptions) {
  AddProject(Root(), "Index", "Home");
  TNewProjectWizard wizard(state, editor, answers);
  wizard.importMonitor = &monitor;
  wizard.IsConnected = [] { return true; };
  wizard.Open();
  const test::SitePage& start = site->Pages()[2];
  wizard.SetUrl(site->Url(start.path));
  ASSERT_TRUE(wizard.LeaveStep1());
  wizard.SetChoice(TAddChoice::AddImportAuto);
  wizard.SpiderOptions().levelsDeep = "3";
  wizard.SpiderOptions().maxPages = "6";
  std::optional<TImportEnd> end;
  QEventLoop loop;
  monitor.OnImportEnded = [&](TImportEnd e) {
    end = e;
    loop.quit();
  };
  bool shown = false;
  monitor.OnShow = [&] { shown = true; };
  ASSERT_TRUE(wizard.Add());
  EXPECT_TRUE(shown);
  QTimer::singleShot(60000, &loop, &QEventLoop::quit);
  if (!end) loop.exec();
  ASSERT_EQ(end, TImportEnd::Finished);
  EXPECT_EQ(monitor.Mode(), TImportMode::AddSpidered);
  const std::vector<std::string> expected = site->Expected(start.path, 3, 6);
  ASSERT_EQ(Urls(), expected);
  for (size_t i = 0; i < expected.size(); ++i) {
    if (!site->Find(Path(i))) continue;
    const std::string listed = ListedNameOf(expected[i]);
    EXPECT_GE(editor.IndexOfProject(listed), 0) << listed;
    EXPECT_EQ(ProjectValue(listed, "last"), "Lovelace");  // the wizard's contact data
  }
}

TEST_F(SiteTest, UpdateMetaInfoReadsTheProjectsOwnPageAndUpdatesIt) {
  const test::SitePage* page = nullptr;
  for (const auto& p : site->Pages())
    if (p.title && p.description && p.keywords && p.path != "/") page = &p;
  ASSERT_NE(page, nullptr);
  AddProject(site->Url(page->path), page->path, "Stale");
  editor.SelectProject(editor.IndexOfProject(page->path));
  test::FakeConnection connection;
  state.spiderOptions = {"All", "2", "1"};
  std::optional<TImportEnd> end;
  QEventLoop loop;
  monitor.OnImportEnded = [&](TImportEnd e) {
    end = e;
    loop.quit();
  };
  ASSERT_TRUE(UpdateMetaInfo(state, site->Url(page->path), answers, connection, monitor));
  QTimer::singleShot(60000, &loop, &QEventLoop::quit);
  if (!end) loop.exec();
  ASSERT_EQ(end, TImportEnd::Finished);
  ASSERT_EQ(Urls(), std::vector<std::string>{site->Url(page->path)});
  EXPECT_EQ(Status(0), "Status: <b>OK <a href=\"update\" value=\"" + site->Url(page->path) +
                           "\">Update it?</a>");
  EXPECT_EQ(ProjectValue(page->path, "title"), "Stale");
  ASSERT_TRUE(monitor.LinkClicked(0, "update"));
  EXPECT_EQ(ProjectValue(page->path, "title"), *page->title);
  EXPECT_EQ(ProjectValue(page->path, "description"), *page->description);
  EXPECT_EQ(ProjectValue(page->path, "key1"), *page->keywords);
  EXPECT_EQ(editor.Text("description"), *page->description);
}

}  // namespace
}  // namespace qs
