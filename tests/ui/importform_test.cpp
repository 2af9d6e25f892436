// The new-domain wizard handing a site over to the import monitor window: the pages become
// projects and the window shows their tree, log and counters.
#include "ui/importform.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include "support/scriptserver.h"
#include "ui/desktopfixture.h"
#include "ui/wizardforms.h"

namespace qs::test {
namespace {

std::string Page(const std::string& title, const std::string& body) {
  return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<html><head><title>" + title +
         "</title><meta name=\"description\" content=\"About " + title +
         "\"></head><body>" + body + "</body></html>";
}

class ImportFormTest : public DesktopTest {};

TEST_F(ImportFormTest, AddDomainAndImportAllPagesMakesEveryPageAProject) {
  ScriptServer site({{Write(Page("Home", "<a href=\"a.htm\">A</a> <a href=\"b.htm\">B</a>")), Close()},
                     {Write(Page("Page A", "<a href=\"index.htm\">home</a>")), Close()},
                     {Write(Page("Page B", "")), Close()}});
  Open();
  form->Command("actNewDomain")->trigger();
  TNewDomain& wizard = *form->NewDomainForm();
  QTest::keyClicks(wizard.Field("urllist"), QString::fromStdString(site.Base() + "/"));
  wizard.Category()->setEditText(QStringLiteral("Computers"));
  for (const char* f : {"name", "LastN", "email", "alt_email"}) QTest::keyClicks(wizard.Field(f), QStringLiteral("x"));
  ASSERT_TRUE(wizard.GoToStep2());
  wizard.Choice(TAddChoice::AddImportAuto)->click();
  QLineEdit* maxPages = wizard.findChild<QLineEdit*>(QStringLiteral("maxpages"));
  ASSERT_TRUE(maxPages->isEnabled());
  maxPages->selectAll();
  QTest::keyClicks(maxPages, QStringLiteral("10"));
  ASSERT_TRUE(wizard.AddClicked());

  TImportProjects& monitor = *form->ImportForm();
  EXPECT_TRUE(monitor.isVisible());
  EXPECT_TRUE(monitor.StopButton()->isEnabled());
  QTRY_VERIFY_WITH_TIMEOUT(!form->Import().Running(), 10000);
  EXPECT_FALSE(monitor.StopButton()->isEnabled());
  EXPECT_EQ(site.Connections(), 3);
  EXPECT_EQ(monitor.Tree()->topLevelItemCount(), 3);
  EXPECT_EQ(monitor.UrlsSpidered(), 3);
  EXPECT_EQ(monitor.Tree()->topLevelItem(1)->child(0)->text(0).toStdString(),
            form->Import().Tree().Node(1).lines[kImportStatusLine]);
  ASSERT_GT(monitor.Log()->count(), 0);
  EXPECT_EQ(monitor.Log()->item(monitor.Log()->count() - 1)->text().toStdString(), Text("404"));

  // The main window lists the new projects; the editor shows the imported title.
  QStringList projects;
  for (int i = 0; i < form->ProjectList()->count(); ++i) projects << form->ProjectList()->item(i)->text();
  EXPECT_EQ(projects, (QStringList{QStringLiteral("/a.htm"), QStringLiteral("/b.htm"), QStringLiteral("Index")}));
  const std::string domain = form->Editor().CurrentDomain();
  EXPECT_NE(dir.Read("data/domains/projects/" + domain + "/_a.htm.zro").find("title=Page A\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace qs::test
