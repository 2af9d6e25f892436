// The Reports page driven as a user drives it: an edit switches Save Properties on, saving
// writes the five keys of [Report], Preview writes the sample report and hands it to the
// default handler (a stand-in here), the template's browse dialog, and the project's written
// reports opening on a double click.
#include "ui/reportspage.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <cstdlib>

#include "store/biginifile.h"
#include "ui/desktopfixture.h"

namespace qs::test {
namespace {

class ReportsPageTest : public DesktopTest {
 protected:
  void SetUp() override {
    dir.Write("data/domains/domains.zro", "[Domains]\r\nCount=1\r\n[List]\r\nsite.test\r\n");
    dir.Write("data/domains/site.test.zro", "[Session]\r\nCount=1\r\n[List]\r\nIndex\r\n");
    dir.Write("data/domains/projects/site.test/Index.zro", "[Index]\r\nurl=http://www.site.test/\r\n");
    dir.Write("opener", "#!/bin/sh\necho \"$1\" >> " + dir.Path("opened") + "\n");
    std::system(("chmod +x " + dir.Path("opener")).c_str());
    ::setenv("QUORVEX_OPENER", dir.Path("opener").c_str(), 1);
  }
  void TearDown() override {
    form.reset();
    ::unsetenv("QUORVEX_OPENER");
  }
  TReportsPage& OpenPage() {
    Open();
    form->ChooseTab(TPage::Reports);
    return *form->ReportsPage();
  }
  TReportsPage& Page() { return *form->ReportsPage(); }
  // The lines the stand-in handler was given, once `count` have arrived.
  std::string Opened(size_t count) {
    QDeadlineTimer deadline(10000);
    auto lines = [&] {
      const std::string text = dir.Read("opened");
      return size_t(std::count(text.begin(), text.end(), '\n'));
    };
    while (lines() < count && !deadline.hasExpired()) QTest::qWait(20);
    return dir.Read("opened");
  }
  std::string Saved(const char* key) {
    TBigIniFile ini(dir.Path("dfd.ini"));
    std::string value = ini.ReadText("Report", key, "(none)");
    ini.Close();
    return value;
  }
};

TEST_F(ReportsPageTest, AnEditSwitchesSavePropertiesOnAndSavingWritesTheFiveKeys) {
  OpenPage();
  QPushButton* save = Page().SaveButton();
  EXPECT_FALSE(save->isEnabled());
  EXPECT_EQ(Page().Border()->value(), 10);
  EXPECT_EQ(Page().CellPadding()->value(), 5);
  EXPECT_TRUE(Page().Bands()->isChecked());

  // Each kind of edit on its own switches Save Properties on.
  struct {
    const char* what;
    std::function<void()> edit;
  } edits[] = {
      {"border stepped", [&] { QTest::keyClick(Page().Border(), Qt::Key_Down); }},
      {"padding stepped", [&] { QTest::keyClick(Page().CellPadding(), Qt::Key_Up); }},
      {"spacing typed", [&] {
         Page().CellSpacing()->selectAll();
         QTest::keyClicks(Page().CellSpacing(), "2");
       }},
      {"bands clicked",
       [&] { QTest::mouseClick(Page().Bands(), Qt::LeftButton, {}, QPoint(6, Page().Bands()->height() / 2)); }},
      {"template typed", [&] { QTest::keyClicks(Page().TemplateFile(), "x"); }},
  };
  for (auto& e : edits) {
    SCOPED_TRACE(e.what);
    QTest::mouseClick(save, Qt::LeftButton);  // saved: off
    EXPECT_FALSE(save->isEnabled());
    e.edit();
    EXPECT_TRUE(save->isEnabled());
  }
  QTest::mouseClick(save, Qt::LeftButton);
  EXPECT_FALSE(save->isEnabled());
  EXPECT_EQ(Saved("border"), "9");
  EXPECT_EQ(Saved("cellpadding"), "6");
  EXPECT_EQ(Saved("cellspacing"), "2");
  EXPECT_EQ(Saved("bands"), "0");
  EXPECT_EQ(Saved("templatefile"), dir.Path("data/domains/report-template.htmx"));
  // The values a report uses now, saved or not.
  EXPECT_EQ(form->Summit().state.report.border, 9);
  EXPECT_FALSE(form->Summit().state.report.bands);
  EXPECT_TRUE(answers.Calls().empty());
}

TEST_F(ReportsPageTest, PreviewWritesFiftySampleRowsAndOpensThem) {
  OpenPage();
  QTest::keyClick(Page().Border(), Qt::Key_Down);  // not saved, used all the same
  QTest::mouseClick(Page().PreviewButton(), Qt::LeftButton);
  const std::string report = dir.Read("testreport.htm");
  size_t rows = 0;
  for (size_t at = report.find("<tr class=\"band"); at != std::string::npos;
       at = report.find("<tr class=\"band", at + 1))
    ++rows;
  EXPECT_EQ(rows, 50u);
  EXPECT_NE(report.find(Text("118") + "49<"), std::string::npos);
  EXPECT_EQ(report.find(Text("118") + "50"), std::string::npos);
  EXPECT_NE(report.find("border=\"9\""), std::string::npos) << report.substr(0, 2000);
  EXPECT_EQ(Opened(1), dir.Path("testreport.htm") + "\n");

  // The menu command does the same from any page.
  form->ChooseTab(TPage::Projects);
  QAction* preview = form->Command("actReportPreview");
  ASSERT_TRUE(preview->isEnabled());
  EXPECT_EQ(preview->text().remove(QLatin1Char('&')).toStdString(), Text("249"));  // with its mnemonic
  dir.Write("testreport.htm", "");
  preview->trigger();
  EXPECT_EQ(Opened(2), dir.Path("testreport.htm") + "\n" + dir.Path("testreport.htm") + "\n");
  EXPECT_NE(dir.Read("testreport.htm").find(Text("118") + "0<"), std::string::npos);

  // A template that cannot be read is said, and nothing is opened.
  Page().TemplateFile()->clear();
  QTest::keyClicks(Page().TemplateFile(), dir.Path("missing.htm").c_str());
  QTest::mouseClick(Page().PreviewButton(), Qt::LeftButton);
  ASSERT_EQ(answers.Calls().size(), 1u);
  EXPECT_NE(answers.Calls()[0].text.find("missing.htm"), std::string::npos);
  QTest::qWait(200);
  EXPECT_EQ(Opened(2), dir.Path("testreport.htm") + "\n" + dir.Path("testreport.htm") + "\n");
}

TEST_F(ReportsPageTest, TheBrowseDialogPicksTheTemplate) {
  OpenPage();
  std::vector<QString> asked;
  QString answer;
  Page().pickFile = [&](const QString& title, const QString& folder, const QString& filter) {
    asked = {title, folder, filter};
    return answer;
  };
  QTest::mouseClick(Page().BrowseButton(), Qt::LeftButton);  // cancelled
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[0].toStdString(), Text("121"));
  EXPECT_EQ(asked[1].toStdString(), dir.Path("data/domains"));
  EXPECT_EQ(asked[2].toStdString(),
            "*.htm *.html (*.htm *.html);;*.shtm *.shtml (*.shtm *.shtml);;*.asp (*.asp);;"
            "*.php *.php3 (*.php *.php3);;*.cfm (*.cfm);;" + Text("122") + " (*)");
  EXPECT_FALSE(Page().SaveButton()->isEnabled());
  EXPECT_EQ(Page().TemplateFile()->text().toStdString(), dir.Path("data/domains/report-template.htm"));

  answer = QString::fromStdString(dir.Path("mine.htm"));
  QTest::mouseClick(Page().BrowseButton(), Qt::LeftButton);
  EXPECT_EQ(Page().TemplateFile()->text(), answer);
  EXPECT_EQ(form->Summit().state.report.templateFile, dir.Path("mine.htm"));
  EXPECT_TRUE(Page().SaveButton()->isEnabled());
}

TEST_F(ReportsPageTest, WrittenReportsOfTheProjectOpenOnDoubleClick) {
  const std::string folder = dir.Path("data/domains/projects/site.test/");
  dir.Write("data/domains/projects/site.test/Index3012026.htm", "<html></html>");
  dir.Write("data/domains/projects/site.test/Index.hst",
            "Submit Date,Scheduled,Status,Generated Report,\r\n"
            "3/1/2026,No,Complete,<a href=\"" + folder + "Index3012026.htm\">report</a>,\r\n"
            "3/2/2026,No,Stopped,,\r\n"
            "3/3/2026,No,Complete,<a href=\"--help\">report</a>,\r\n");
  OpenPage();
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  QListView* list = Page().ReportList();
  ASSERT_EQ(list->model()->rowCount(), 2);
  EXPECT_EQ(list->model()->index(0, 0).data().toString().toStdString(), folder + "Index3012026.htm");
  for (int row : {1, 0}) {  // a name that is no report file is never handed over
    // A double click as the window system delivers it: press, release, press, double
    // click, release.
    const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
  }
  EXPECT_EQ(Opened(1), folder + "Index3012026.htm\n");
  QTest::qWait(200);
  EXPECT_EQ(dir.Read("opened"), folder + "Index3012026.htm\n");

  // Clear History takes the list with it.
  form->Command("actClearHistory")->trigger();
  EXPECT_EQ(list->model()->rowCount(), 0);
}

}  // namespace
}  // namespace qs::test
