// The Database page driven as a user drives it: the type views and what a run then visits,
// the record editor and its navigator with the safe write of posted records, the search, and
// an update from a scripted signed server.
#include "ui/databasepage.h"

#include <QComboBox>
#include <QLCDNumber>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include "app/text.h"
#include "engines/updatefixture.h"
#include "enginetable.h"
#include "practiceserver.h"
#include "support/scriptserver.h"
#include "ui/desktopfixture.h"
#include "ui/enginetablemodel.h"
#include "ui/enginetablepanel.h"
#include "ui/submitpage.h"
#include "ui/updatepanel.h"

namespace qs::test {
namespace {

using P = TEngineTablePanel;

class DatabasePageTest : public DesktopTest {
 protected:
  void SetUp() override { ASSERT_TRUE(server.Listen()); }

  std::string Engine(const std::string& name, const std::string& type, const std::string& count = "1") {
    return practice::EngineLine({{"e_name", name},
                                 {"enginetype", type},
                                 {"e_count", count},
                                 {"e_freq", "Monthly"},
                                 {"e_index", "All"},
                                 {"cgi_url", server.Base() + "/ok/" + name},
                                 {"method", "GET"},
                                 {"url", "url"}});
  }
  void WriteSite() {
    dir.Write("dfd.ini", "[Application]\r\nupdate=1\r\nports=5\r\ntimeout=30\r\n");
    dir.Write("data/domains/domains.zro", "[Domains]\r\nCount=1\r\n[List]\r\nsite.com\r\n");
    dir.Write("data/domains/site.com.zro", "[Session]\r\nCount=1\r\n[List]\r\nIndex\r\n");
    dir.Write("data/domains/projects/site.com/Index.zro",
              "[Index]\r\nurl=http://site.com/\r\nsubmitengines=-1\r\nsubmitffa=-1\r\n"
              "submitnetworks=-1\r\nsubmitcustom=0\r\ngenreport=0\r\n");
    dir.Write("data/data.czc", Engine("e1", "ENGINE") + Engine("f1", "FFA") + Engine("n1", "NETWORKS", "10") +
                                   Engine("f2", "FFA") + Engine("e2", "ENGINE"));
    dir.Write("data/datac.czc", "");
  }
  TEngineTablePanel& Main() {
    form->ChooseTab(TPage::Database);
    return *form->DatabasePage()->MainPanel();
  }
  std::vector<std::string> GridNames(TEngineTablePanel& p) {
    std::vector<std::string> names;
    for (int r = 0; r < p.Grid()->model()->rowCount(); ++r)
      names.push_back(p.Grid()->model()->index(r, 1).data().toString().toStdString());
    return names;
  }
  std::vector<int> Counters(TEngineTablePanel& p) {
    std::vector<int> values;
    for (int i = 0; i < 5; ++i) values.push_back(p.Counter(i)->intValue());
    return values;
  }
  void ChooseView(TEngineTablePanel& p, int index) {
    p.ViewChoice()->setCurrentIndex(index);
    emit p.ViewChoice()->activated(index);
  }
  void Press(TEngineTablePanel& p, P::TCommand c) {
    ASSERT_TRUE(p.Button(c)->isEnabled()) << c;
    QTest::mouseClick(p.Button(c), Qt::LeftButton);
  }
  // Waits until the catalogue's delayed write has run.
  bool Saved() {
    QDeadlineTimer deadline(10000);
    while (form->Summit().catalogue.SavePending() && !deadline.hasExpired()) QTest::qWait(20);
    return !form->Summit().catalogue.SavePending();
  }

  practice::TPracticeServer server;
};

TEST_F(DatabasePageTest, TheFfaViewShowsOnlyFfaRecordsAndTheRunVisitsOnlyThose) {
  WriteSite();
  Open();
  TEngineTablePanel& main = Main();
  EXPECT_EQ(GridNames(main), (std::vector<std::string>{"e1", "f1", "n1", "f2", "e2"}));
  // Total (2 + 2 + 10 - 1: a network of 10 counts 9 more), engines, FFA, networks, network total.
  EXPECT_EQ(Counters(main), (std::vector<int>{13, 2, 2, 1, 10}));
  EXPECT_EQ(main.Grid()->model()->headerData(1, Qt::Horizontal).toString().toStdString(), Text("269"));

  ChooseView(main, 2);  // FFA's
  EXPECT_EQ(GridNames(main), (std::vector<std::string>{"f1", "f2"}));
  EXPECT_EQ(Counters(main), (std::vector<int>{13, 2, 2, 1, 10}));  // a view does not count

  form->ProjectList()->item(0)->setCheckState(Qt::Checked);
  form->ChooseTab(TPage::Submit);
  QTest::mouseClick(form->SubmitPage()->Button("AddChecked"), Qt::LeftButton);
  QTest::mouseClick(form->SubmitPage()->Button("Start"), Qt::LeftButton);
  QDeadlineTimer deadline(20000);
  while (form->Run().Completed() < 1 && !deadline.hasExpired()) QTest::qWait(20);
  ASSERT_EQ(form->Run().Completed(), 1);
  std::vector<std::string> visited;
  for (const ActivityRow& r : form->Run().Rows()) visited.push_back(r.engine);
  EXPECT_EQ(visited, (std::vector<std::string>{"f1", "f2"}));

  // An edit in the FFA view, then All Types: the table file holds it at once.
  TEngineTablePanel& again = Main();
  main.Grid()->selectRow(1);  // f2
  EXPECT_EQ(again.EditorText("e_name"), QStringLiteral("f2"));
  QTest::keyClicks(qobject_cast<QLineEdit*>(again.Editor("e_country")), QStringLiteral("NZ"));
  EXPECT_TRUE(again.Button(P::kPost)->isEnabled());
  Press(again, P::kPost);
  ChooseView(again, 0);
  EXPECT_NE(dir.Read("data/data.czc").find(",f2,FFA,,,NZ,"), std::string::npos) << dir.Read("data/data.czc");
  EXPECT_EQ(GridNames(again).size(), 5u);
}

TEST_F(DatabasePageTest, InsertPostAndDeleteAreSafeOnDiskAndCounted) {
  WriteSite();
  Open();
  TEngineTablePanel& main = Main();
  main.Grid()->selectRow(0);
  Press(main, P::kInsert);
  // A new record's values as the editor shows them.
  const std::pair<const char*, const char*> defaults[] = {
      {"enginetype", "FFA"}, {"e_count", "1"}, {"e_freq", "Monthly"}, {"e_index", "All"},
      {"method", "POST"},    {"confirm", "NO"}, {"e_name", ""},       {"cgi_url", ""}};
  for (auto [column, value] : defaults) EXPECT_EQ(main.EditorText(column).toStdString(), value) << column;
  EXPECT_FALSE(main.Button(P::kDelete)->isEnabled());  // nothing to delete while inserting
  QTest::keyClicks(qobject_cast<QLineEdit*>(main.Editor("e_name")), QStringLiteral("Fresh"));
  Press(main, P::kPost);
  EXPECT_EQ(Counters(main), (std::vector<int>{14, 2, 3, 1, 10}));
  EXPECT_EQ(GridNames(main).front(), "Fresh");  // before the record that was current
  EXPECT_EQ(main.EditorText("e_name"), QStringLiteral("Fresh"));
  // On disk within the save delay, with the table still open.
  ASSERT_TRUE(Saved());
  EXPECT_EQ(dir.Read("data/data.czc").find(",Fresh,FFA,"), 0u) << dir.Read("data/data.czc");
  EXPECT_TRUE(form->Summit().catalogue.EnginesTable.Active());

  const size_t before = answers.Calls().size();
  Press(main, P::kDelete);  // at once, without a question
  EXPECT_EQ(answers.Calls().size(), before);
  EXPECT_EQ(GridNames(main).front(), "e1");
  EXPECT_EQ(Counters(main), (std::vector<int>{13, 2, 2, 1, 10}));
  ASSERT_TRUE(Saved());
  EXPECT_EQ(dir.Read("data/data.czc").find("Fresh"), std::string::npos);

  // Cancel drops an edit; the editor shows the stored value again.
  QTest::keyClicks(qobject_cast<QLineEdit*>(main.Editor("e_name")), QStringLiteral("x"));
  Press(main, P::kCancel);
  EXPECT_EQ(main.EditorText("e_name"), QStringLiteral("e1"));
  EXPECT_EQ(form->Summit().catalogue.EnginesTable.State(), TDataSetState::Browse);
}

TEST_F(DatabasePageTest, FindSelectsTheFirstEngineWhoseNameBeginsWithTheText) {
  WriteSite();
  Open();
  TEngineTablePanel& main = Main();
  const struct {
    const char* text;
    const char* current;  // the engine shown afterwards
    bool found;
  } cases[] = {{"F2", "f2", true}, {"n", "n1", true}, {"zz", "n1", false}, {"e", "e1", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    main.FindField()->clear();
    QTest::keyClicks(main.FindField(), QString::fromLatin1(c.text));
    QTest::keyClick(main.FindField(), Qt::Key_Return);
    EXPECT_EQ(main.EditorText("e_name").toStdString(), c.current);
    const int row = main.Grid()->currentIndex().row();
    EXPECT_EQ(main.Grid()->model()->index(row, 1).data().toString().toStdString(), c.current);
    EXPECT_EQ(main.FindField()->styleSheet().isEmpty(), c.found);
  }
}

TEST_F(DatabasePageTest, AnUpdateShowsItsTreeAndTheNewData) {
  TestSigner signer;
  updateKey = signer.Key();
  WriteSite();
  const std::string newTable = Engine("Fresh", "ENGINE") + Engine("Other", "FFA");
  const std::string archive = GcabArchive(
      {{"update-info.txt", "db=7\r\nupdate=5\r\nmandb=3\r\ncats=1\r\nrank=1\r\nsoftware=55\r\n"},
       {"data/data.czc", newTable},
       {"data/datam.czc", "A,http://a/,http://a/s\r\nB,http://b/,http://b/s\r\n"}});
  auto answer = [](const std::string& body) {
    return Script{Write("HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body),
                  Close()};
  };
  ScriptServer updates({answer("update=5\r\nsoftware=55\r\n"), answer(archive), answer(signer.Sign(archive))});
  dir.Write("dfd.ini", "[Application]\r\nupdate=4\r\ndb=6\r\nmandb=2\r\ncats=1\r\nrank=1\r\nsoftware=55\r\n"
                       "ports=5\r\ntimeout=30\r\nupdateurl=" + updates.Base() + "/\r\n");
  Open();
  form->Command("actDatabaseUpdates")->trigger();
  EXPECT_EQ(form->DatabasePage()->OpenedPanel(), TDatabasePanel::Updates);
  TUpdatePanel& panel = *form->DatabasePage()->Updates();
  QTest::mouseClick(panel.UpdateButton(), Qt::LeftButton);
  EXPECT_FALSE(panel.UpdateButton()->isEnabled());
  QDeadlineTimer deadline(20000);
  while (form->DatabasePage()->Update().Busy() && !deadline.hasExpired()) QTest::qWait(20);
  ASSERT_FALSE(form->DatabasePage()->Update().Busy());
  EXPECT_TRUE(form->DatabasePage()->Update().Succeeded());
  EXPECT_TRUE(panel.UpdateButton()->isEnabled());

  // The tree: the root, its three children and the green line of the installed table.
  QTreeWidget* tree = panel.Tree();
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  QTreeWidgetItem* databases = tree->topLevelItem(0)->child(1);
  ASSERT_NE(databases, nullptr);
  ASSERT_GE(databases->childCount(), 1);
  EXPECT_NE(databases->child(0)->text(0).indexOf(QStringLiteral("#008800")), -1) << databases->child(0)->text(0).toStdString();
  EXPECT_EQ(tree->topLevelItem(0)->child(0)->text(0).toStdString(), "Status: <b>Update Completed</b>");

  // The new data without a restart: the grid, the counters, the manual list.
  TEngineTablePanel& main = *form->DatabasePage()->MainPanel();
  EXPECT_EQ(GridNames(main), (std::vector<std::string>{"Fresh", "Other"}));
  EXPECT_EQ(Counters(main), (std::vector<int>{2, 1, 1, 0, 0}));
  EXPECT_EQ(form->SubmitPage()->ManualView()->model()->rowCount(), 2);
}

}  // namespace
}  // namespace qs::test
