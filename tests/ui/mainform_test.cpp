// The desktop windows driven as a user drives them: the wizard, typing into the editor, the
// delete commands, the tab rules, the tray and the closing rules, the language table.
#include "ui/mainform.h"

#include <sys/stat.h>

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <QToolBox>

#include "app/settings.h"
#include "platform/regional.h"
#include "ui/desktopfixture.h"
#include "ui/helpform.h"
#include "ui/optionsform.h"
#include "ui/ledcounter.h"
#include "ui/projectspage.h"
#include "ui/tabstrip.h"
#include "ui/wizardforms.h"

namespace qs::test {
namespace {

class MainFormTest : public DesktopTest {
 protected:
  // One domain with the projects /a.htm, /b.htm and /c.htm.
  void WriteSite() {
    dir.Write("data/domains/domains.zro", "[Domains]\r\nCount=1\r\n[List]\r\nsite.com\r\n");
    dir.Write("data/domains/site.com.zro", "[Session]\r\nCount=3\r\n[List]\r\n/a.htm\r\n/b.htm\r\n/c.htm\r\n");
    for (const char* name : {"a", "b", "c"})
      dir.Write(std::string("data/domains/projects/site.com/_") + name + ".htm.zro",
                std::string("[_") + name + ".htm]\r\nurl=http://site.com/" + name + ".htm\r\ntitle=" + name + "\r\n");
  }
  QStringList ProjectNames() {
    QStringList names;
    for (int i = 0; i < form->ProjectList()->count(); ++i) names << form->ProjectList()->item(i)->text();
    return names;
  }
  void Trigger(const char* command) {
    QAction* action = form->Command(command);
    ASSERT_NE(action, nullptr) << command;
    action->trigger();
  }
};

TEST_F(MainFormTest, NewDomainWizardValidatesInOrderThenWritesTheProjectFile) {
  Open();
  Trigger("actNewDomain");
  TNewDomain& wizard = *form->NewDomainForm();
  ASSERT_TRUE(wizard.isVisible());
  // Each row fills one more required field; Next shows the first rule still failing.
  const struct {
    const char* field;
    const char* value;
    const char* message;
  } steps[] = {
      {nullptr, nullptr, "nourl"},
      {"urllist", "http://www.example.com/", "nocategory"},
      {"catagory", "Computers", "nofname"},
      {"name", "Ada", "nolname"},
      {"LastN", "Lovelace", "noemail"},
      {"email", "ada@example.com", "noaltemail"},
  };
  for (const auto& step : steps) {
    if (step.field && std::string(step.field) == "catagory")
      wizard.Category()->setEditText(QString::fromLatin1(step.value));
    else if (step.field)
      QTest::keyClicks(wizard.Field(step.field), QString::fromLatin1(step.value));
    answers.Answer(mrOk);
    const size_t before = answers.Calls().size();
    wizard.findChild<QPushButton*>(QStringLiteral("Next"))->click();
    ASSERT_EQ(answers.Calls().size(), before + 1) << step.message;
    EXPECT_EQ(answers.Calls().back().text, Text(step.message));
    EXPECT_EQ(answers.Calls().back().type, TMsgDlgType::Error);
    EXPECT_EQ(wizard.CurrentStep(), 1);
  }
  QTest::keyClicks(wizard.Field("alt_email"), QStringLiteral("alt@example.com"));
  wizard.findChild<QPushButton*>(QStringLiteral("Next"))->click();
  ASSERT_EQ(wizard.CurrentStep(), 2);
  wizard.findChild<QPushButton*>(QStringLiteral("Add"))->click();

  EXPECT_FALSE(wizard.isVisible());
  EXPECT_EQ(form->CurrentPage(), TPage::Projects);  // opened from the About page
  ASSERT_EQ(form->DomainList()->count(), 1);
  EXPECT_EQ(form->DomainList()->item(0)->text(), QStringLiteral("example.com"));
  EXPECT_EQ(ProjectNames(), QStringList{QStringLiteral("Index")});
  const std::string project = dir.Read("data/domains/projects/example.com/Index.zro");
  for (const char* line : {"[Index]", "url=http://www.example.com/", "catagory=Computers", "name=Ada",
                           "last=Lovelace", "email=ada@example.com", "alt_email=alt@example.com",
                           "title=", "submitcustom=0", "submitengines=-1", "submitffa=-1",
                           "submitnetworks=-1", "genreport=-1"})
    EXPECT_NE(project.find(std::string(line) + "\r\n"), std::string::npos) << line << "\n" << project;
  // The editor shows the new project.
  EXPECT_EQ(form->ProjectsPage()->TextField("url")->text(), QStringLiteral("http://www.example.com/"));
}

TEST_F(MainFormTest, TypingATitleWritesTheFileAtEveryKeyAndColoursTheCounter) {
  WriteSite();
  Open();
  form->ChooseTab(TPage::Projects);
  QLineEdit* title = form->ProjectsPage()->TextField("title");
  ASSERT_EQ(title->text(), QStringLiteral("a"));
  title->selectAll();
  QTest::keyClick(title, Qt::Key_Delete);
  const char* file = "data/domains/projects/site.com/_a.htm.zro";
  std::vector<std::pair<long long, long long>> identities{dir.Identity(file)};
  for (char c : std::string("abc")) {
    QTest::keyClick(title, c);
    identities.push_back(dir.Identity(file));
    EXPECT_NE(identities.back(), identities[identities.size() - 2]) << "not written at " << c;
  }
  EXPECT_NE(dir.Read(file).find("title=abc\r\n"), std::string::npos) << dir.Read(file);
  TLedCounter* counter = form->ProjectsPage()->TitleCounter();
  EXPECT_EQ(counter->intValue(), 3);
  EXPECT_TRUE(counter->Green());

  QTest::keyClicks(title, QString(57, 'x'));  // 60 characters: still green
  EXPECT_TRUE(counter->Green());
  QTest::keyClick(title, 'y');
  EXPECT_EQ(counter->intValue(), 61);
  EXPECT_FALSE(counter->Green());
  EXPECT_EQ(counter->palette().color(QPalette::WindowText), QColor(0xFF, 0x00, 0x00));
}

TEST_F(MainFormTest, DeleteSelectedProjectSelectsTheOneBeforeTheLast) {
  WriteSite();
  Open();
  form->ProjectList()->setCurrentRow(2);  // /c.htm, the last
  ASSERT_EQ(form->ProjectsPage()->TextField("title")->text(), QStringLiteral("c"));
  Trigger("actDeleteSelectedProject");
  EXPECT_EQ(ProjectNames(), (QStringList{QStringLiteral("/a.htm"), QStringLiteral("/b.htm")}));
  EXPECT_EQ(form->ProjectList()->currentRow(), 1);
  EXPECT_EQ(form->ProjectsPage()->TextField("title")->text(), QStringLiteral("b"));
  EXPECT_FALSE(dir.Exists("data/domains/projects/site.com/_c.htm.zro"));
  EXPECT_TRUE(dir.Exists("data/domains/projects/site.com/_b.htm.zro"));
  EXPECT_EQ(dir.Read("data/domains/site.com.zro").find("/c.htm"), std::string::npos);
  EXPECT_TRUE(answers.Calls().empty());
}

TEST_F(MainFormTest, DeleteAllAnsweredNoOrClosedDeletesNothing) {
  WriteSite();
  Open();
  for (int answer : {mrNo, mrClosed}) {
    answers.Answer(answer);
    Trigger("actDeleteAllProjects");
    EXPECT_EQ(answers.Calls().back().text, Text("deleteallpro"));
    EXPECT_EQ(answers.Calls().back().type, TMsgDlgType::Confirmation);
    EXPECT_EQ(ProjectNames().size(), 3);
    for (const char* name : {"_a", "_b", "_c"})
      EXPECT_TRUE(dir.Exists(std::string("data/domains/projects/site.com/") + name + ".htm.zro"));
  }
  answers.Answer(mrYes);
  Trigger("actDeleteAllProjects");
  EXPECT_TRUE(ProjectNames().isEmpty());
  EXPECT_FALSE(dir.Exists("data/domains/projects/site.com/_a.htm.zro"));
}

TEST_F(MainFormTest, ProjectsTabWithoutADomainAsksToCreateOne) {
  Open();
  ASSERT_EQ(form->CurrentPage(), TPage::About);
  EXPECT_FALSE(form->LeftPanelVisible());
  answers.Answer(mrNo);
  QTest::mouseClick(form->Tabs()->Tab(0), Qt::LeftButton);
  ASSERT_EQ(answers.Calls().size(), 1u);
  EXPECT_EQ(answers.Calls()[0].text, Text("175"));
  EXPECT_EQ(answers.Calls()[0].buttons, TMsgDlgButtons(mbYes | mbNo));
  EXPECT_EQ(form->CurrentPage(), TPage::Projects);  // the empty Projects page
  EXPECT_TRUE(form->LeftPanelVisible());
  EXPECT_TRUE(form->Tabs()->Tab(0)->Selected());
  EXPECT_FALSE(form->NewDomainForm()->isVisible());

  answers.Answer(mrYes);
  form->ChooseTab(TPage::Projects);
  EXPECT_TRUE(form->NewDomainForm()->isVisible());
}

TEST_F(MainFormTest, MenuCommandsOpenTheirPageAndPanel) {
  WriteSite();
  Open();
  const struct {
    const char* command;
    TPage page;
    int panel;  // -1: the page has no panels
  } cases[] = {
      {"actSchedule", TPage::Projects, 2},   {"actHistory", TPage::Projects, 3},
      {"actInformation", TPage::Projects, 0}, {"actScheduledOpen", TPage::Submit, 2},
      {"actManualEngines", TPage::Submit, 1}, {"actRankingOpen", TPage::Ranking, -1},
      {"actMetaEditor", TPage::MetaTags, 1},  {"actPreviewSave", TPage::Doorways, 1},
      {"actReportsOpen", TPage::Reports, -1}, {"actCustomDatabase", TPage::Database, 1},
      {"actAbout", TPage::About, -1},
  };
  for (const auto& c : cases) {
    Trigger(c.command);
    EXPECT_EQ(form->CurrentPage(), c.page) << c.command;
    EXPECT_EQ(form->LeftPanelVisible(), c.page != TPage::About) << c.command;
    if (c.page == TPage::Projects) {
      EXPECT_EQ(int(form->ProjectsPage()->OpenedPanel()), c.panel) << c.command;
    } else if (c.panel >= 0) {
      EXPECT_EQ(form->centralWidget()->findChild<QStackedWidget*>()->currentWidget()
                    ->findChild<QToolBox*>()->currentIndex(), c.panel) << c.command;
    }
  }
  EXPECT_TRUE(answers.Calls().empty());

  Trigger("actHelpFiles");
  EXPECT_TRUE(form->HelpForm()->isVisible());
  EXPECT_EQ(form->HelpForm()->CurrentFile(), QStringLiteral("dompro.html"));
  Trigger("actDialup");
  EXPECT_TRUE(form->OptionsForm()->isVisible());
}

TEST_F(MainFormTest, WaitingSoftwareIsHandedToTheRestartProgramAndTheWindowCloses) {
  dir.Write("software.cab", "MSCF");
  // A stand-in restart program that notes how it was started.
  dir.Write("programs/quorvex-restart", "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/started\"\n");
  ASSERT_EQ(::chmod(dir.Path("programs/quorvex-restart").c_str(), 0755), 0);
  Open();
  form->restartProgramFolder = dir.Path("programs");
  QSignalSpy closed(form.get(), &TForm1::closed);
  form->show();
  QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, 5000);
  QTRY_VERIFY_WITH_TIMEOUT(dir.Exists("programs/started"), 5000);
  EXPECT_EQ(dir.Read("programs/started"),
            "--wait " + std::to_string(QCoreApplication::applicationPid()) + "\n");
  EXPECT_TRUE(answers.Calls().empty());
}

TEST_F(MainFormTest, ClosingWithoutTheTrayEndsTheProgram) {
  Open();
  QSignalSpy closed(form.get(), &TForm1::closed);
  form->show();
  form->close();
  EXPECT_EQ(closed.count(), 1);
}

TEST_F(MainFormTest, ClosingWhileTheSchedulerRunsKeepsTheWindowReachable) {
  for (bool tray : {true, false}) {
    SCOPED_TRACE(tray ? "with a system tray" : "without a system tray");
    systemTray = tray;
    Open();
    QSignalSpy closed(form.get(), &TForm1::closed);
    form->show();
    Trigger("actSchedulerStart");
    form->close();
    EXPECT_EQ(closed.count(), 0);
    EXPECT_TRUE(form->Tray()->isVisible());
    // With a tray the window waits behind the icon; without one it stays in the task bar.
    EXPECT_EQ(form->isVisible(), !tray);
    EXPECT_TRUE(form->isMinimized());
    form->RestoreFromTray();  // the tray's Open, or a second start of the program
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());
    // Logging off ends the program with the scheduler on.
    form->SessionEnding();
    form->close();
    EXPECT_EQ(closed.count(), 1);
    Trigger("actSchedulerStop");
    form.reset();
  }
}

TEST_F(MainFormTest, TheSchedulersRestartWithoutATrayLeavesTheWindowMinimised) {
  dir.Write("dfd.ini", "[Application]\r\nupdate=1\r\nschedule=1\r\n");
  systemTray = false;
  Open();
  form->show();
  EXPECT_TRUE(form->Scheduler().Running());
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(form->isMinimized());
  Trigger("actSchedulerStop");
}

TEST_F(MainFormTest, TheEditorHidesThePasswordAndTakesNoTypingWithoutAProject) {
  WriteSite();
  Open();
  TProjectsPage& page = *form->ProjectsPage();
  QLineEdit* password = page.TextField("password");
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
  EXPECT_EQ(page.ShowPasswordButton()->text().toStdString(), Text("showpassword"));
  page.ShowPasswordButton()->click();
  EXPECT_EQ(password->echoMode(), QLineEdit::Normal);
  page.ShowPasswordButton()->click();
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
  EXPECT_TRUE(page.TextField("title")->isEnabled());

  // A domain without projects: nothing to edit, so nothing can be typed and lost.
  dir.Write("data/domains/domains.zro", "[Domains]\r\nCount=1\r\n[List]\r\nempty.com\r\n");
  dir.Write("data/domains/empty.com.zro", "[Session]\r\nCount=0\r\n[List]\r\n");
  form.reset();
  Open();
  EXPECT_FALSE(form->Editor().ProjectLoaded());
  EXPECT_FALSE(form->ProjectsPage()->TextField("title")->isEnabled());
  EXPECT_FALSE(form->ProjectsPage()->ShowPasswordButton()->isEnabled());
}

TEST_F(MainFormTest, ADateIsTypedWholeAndTakenWhenTheFieldIsLeft) {
  WriteSite();
  Open();
  form->ChooseTab(TPage::Projects);
  auto* start = form->ProjectsPage()->findChild<QDateEdit*>(QStringLiteral("startdate"));
  ASSERT_NE(start, nullptr);
  const QDate today = QDate::currentDate();
  const struct {
    QDate typed, stored;
  } cases[] = {{today.addDays(20), today.addDays(20)},
               {today.addYears(-3), today}};  // before the earliest: the earliest
  for (const auto& c : cases) {
    start->setFocus();
    start->setCurrentSectionIndex(0);
    start->selectAll();
    QTest::keyClicks(start, QString::fromStdString(regional::FormatDate(c.typed)));
    EXPECT_EQ(start->date(), c.typed);  // every typed date is taken as typed
    QTest::keyClick(start, Qt::Key_Return);  // leaving the field
    EXPECT_EQ(start->date(), c.stored);
    EXPECT_NE(dir.Read("data/domains/projects/site.com/_a.htm.zro").find("startdate=" + regional::FormatDate(c.stored)),
              std::string::npos);
  }
}

TEST_F(MainFormTest, TheMenusHaveMnemonicsAndTheCommonShortcuts) {
  WriteSite();
  Open();
  QStringList bar;
  for (QAction* a : form->menuBar()->actions()) bar << a->text();
  EXPECT_EQ(bar, (QStringList{"&Projects", "&Submit", "&Ranking", "&MetaTags", "&Doorway Pages",
                              "R&eports", "D&atabase", "&Options", "&Help"}));
  EXPECT_EQ(form->Command("actHelpFiles")->shortcut(), QKeySequence(QKeySequence::HelpContents));
  EXPECT_EQ(form->Command("actNewProject")->shortcut(), QKeySequence(QKeySequence::New));
  // Ctrl+Tab walks the tabs in strip order, with their rules, and comes round.
  form->ShowPage(TPage::Reports);
  QAction* next = form->findChild<QAction*>(QStringLiteral("actNextTab"));
  ASSERT_NE(next, nullptr);
  next->trigger();
  EXPECT_EQ(form->CurrentPage(), TPage::Database);
  next->trigger();
  EXPECT_EQ(form->CurrentPage(), TPage::Projects);
  form->findChild<QAction*>(QStringLiteral("actPriorTab"))->trigger();
  EXPECT_EQ(form->CurrentPage(), TPage::Database);
  // Applied again, the table gives the same captions, not a second mark.
  form->ApplyTable();
  EXPECT_EQ(form->menuBar()->actions().front()->text(), QStringLiteral("&Projects"));
}

TEST_F(MainFormTest, ApplyTableSetsNamedCaptionsTabsAndWidthsFromTheTable) {
  // The key's letter case does not matter; of two lines with one key the first counts.
  dir.Write("lang.ini",
            "lang=spanish\n[lables]\nLABEL1=Campos requeridos\nlabel1=ignored\nlabel3=T\xc3\xadtulo:\n"
            "45=Proyectos\n47=Enviar\n58=Base\n175=\xc2\xbf" "Crear?\n");
  Open();
  auto* label1 = form->findChild<QLabel*>(QStringLiteral("label1"));
  ASSERT_NE(label1, nullptr);
  EXPECT_EQ(label1->text(), QStringLiteral("Campos requeridos"));
  EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("label3"))->text(), QString::fromUtf8("T\xc3\xadtulo:"));
  EXPECT_EQ(form->Tabs()->Tab(0)->Caption(),
            QStringLiteral("<B><P align=\"right\"><A href=\"hover\">Proyectos</a></P></B>"));
  const int spanish[] = {77, 57, 70, 80, 90, 70, 100};  // strip order
  for (int i = 0; i < kTabCount; ++i) EXPECT_EQ(form->Tabs()->Tab(i)->width(), spanish[i]) << i;

  // A caption longer than its width in the table widens its tab rather than being cut.
  dir.Write("spanish.txt", "lang=spanish\n51=Posicionamiento en buscadores\n");
  form->Command("actSpanish")->trigger();
  QLabel probe;
  probe.setTextFormat(Qt::RichText);
  probe.setText(form->Tabs()->Tab(2)->Caption());
  EXPECT_GE(form->Tabs()->Tab(2)->width(), probe.sizeHint().width());
  EXPECT_GT(form->Tabs()->Tab(2)->width(), 70);

  // The English switch loads \english.txt and applies it again.
  form->Command("actEnglish")->trigger();
  EXPECT_EQ(label1->text(), QStringLiteral("Minimum Required Fields"));
  EXPECT_EQ(form->Tabs()->Tab(6)->width(), 76);
}

// The language chosen in Options applies at once, to the help window's topics too, is kept
// in \dfd.ini and is the language of the next start.
TEST_F(MainFormTest, TheLanguageChosenInOptionsIsAppliedAndKept) {
  Open();
  TOptionsForm* options = form->OptionsForm();
  options->OpenPanel(TOptionsPanel::Language);
  QComboBox* language = options->LanguageField();
  ASSERT_EQ(language->count(), 2);  // no \lang.ini in this folder
  language->setCurrentIndex(language->findData(QStringLiteral("spanish")));
  auto* panel = options->findChild<QWidget*>(QStringLiteral("LanguagePanel"));
  panel->findChild<QPushButton*>(QStringLiteral("Apply"))->click();
  EXPECT_EQ(Text("47"), "Enviar");
  EXPECT_EQ(form->Tabs()->Tab(1)->Caption().contains(QStringLiteral("Enviar")), true);
  const QList<QAction*> topics =
      form->HelpForm()->findChild<QMenu*>(QStringLiteral("HelpTopics"))->actions();
  EXPECT_EQ(topics.at(0)->text().remove(QLatin1Char('&')), QStringLiteral("Lista de dominios"));
  EXPECT_EQ(ReadSettingText(dir.AppFolder(), setting::kTableLang), "spanish");

  form.reset();
  Open();
  form->show();  // the first showing applies the chosen table
  EXPECT_EQ(Text("47"), "Enviar");
  EXPECT_EQ(form->OptionsForm()->LanguageField()->currentData().toString(), QStringLiteral("spanish"));
  // The window is as wide as its panels' captions.
  auto* tabs = form->OptionsForm()->findChild<QTabWidget*>();
  form->OptionsForm()->OpenPanel(TOptionsPanel::Proxy);
  EXPECT_GE(tabs->width(), tabs->tabBar()->sizeHint().width());
  form->OptionsForm()->close();
}

// Where the user left the splitter and the window comes back at the next start; both sides
// of the splitter follow the window's size.
TEST_F(MainFormTest, TheSplitterAndTheWindowPlaceSurviveARestart) {
  Open();
  form->show();
  form->resize(1600, 900);  // room beyond the pages' least width
  form->ShowPage(TPage::Projects);
  QCoreApplication::processEvents();
  auto* splitter = form->findChild<QSplitter*>(QStringLiteral("MainSplitter"));
  const int before = splitter->sizes()[0];
  const int total = before + splitter->sizes()[1];
  splitter->setSizes({before + 40, total - before - 40});
  const int left = splitter->sizes()[0];
  ASSERT_NE(left, before);
  emit splitter->splitterMoved(left, 1);
  form->ShowPage(TPage::About);  // the lists are hidden there: their width stays as it was
  form->close();  // writes what the user changed a moment ago
  form.reset();
  Open();
  form->show();
  form->ShowPage(TPage::Projects);
  QCoreApplication::processEvents();
  splitter = form->findChild<QSplitter*>(QStringLiteral("MainSplitter"));
  EXPECT_EQ(form->size(), QSize(1600, 900));
  EXPECT_EQ(splitter->sizes()[0], left);
  form->resize(form->width() - 300, form->height());
  QCoreApplication::processEvents();
  const int narrow = splitter->sizes()[0];
  EXPECT_LT(narrow, left);
  form->resize(form->width() + 300, form->height());
  QCoreApplication::processEvents();
  EXPECT_GT(splitter->sizes()[0], narrow);
}

// The help window opens maximised until the user gives it a size, which it keeps.
TEST_F(MainFormTest, TheHelpWindowKeepsTheSizeTheUserGaveIt) {
  Open();
  THelpForm* help = form->HelpForm();
  help->ShowTopic("dompro.html");
  EXPECT_TRUE(help->isMaximized());
  help->showNormal();
  help->resize(640, 480);
  QTest::qWait(1500);  // the size is written a moment after the last change
  help->close();
  THelpForm again(dir.AppFolder());
  again.ShowTopic("dompro.html");
  EXPECT_FALSE(again.isMaximized());
  EXPECT_EQ(again.size(), QSize(640, 480));
}

}  // namespace
}  // namespace qs::test
