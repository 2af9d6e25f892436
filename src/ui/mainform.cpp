#include "ui/mainform.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QScreen>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

#include "app/settings.h"
#include "platform/filesystem.h"
#include "platform/skin.h"
#include "ui/applytable.h"
#include "ui/dialog97.h"
#include "ui/doorwayspage.h"
#include "engines/restart.h"
#include "metatags/metaupdate.h"
#include "ui/helpform.h"
#include "ui/importform.h"
#include "ui/metatagspage.h"
#include "ui/optionsform.h"
#include "ui/projectspage.h"
#include "ui/rankingpage.h"
#include "ui/reportspage.h"
#include "ui/splash.h"
#include "ui/databasepage.h"
#include "ui/submitpage.h"
#include "ui/tabstrip.h"
#include "ui/uierrors.h"
#include "ui/wizardforms.h"

namespace qs {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QPixmap Picture(const TAppFolder& folder, const char* relative) {
  return QPixmap(Q(folder.Path(relative)));
}

// The tray animation's frames, \tray\normal01.png to normal16.png, and the look of a
// scheduled run, \tray\scheduled01.png to scheduled16.png.
QIcon TrayIcon(const TAppFolder& folder, int frame, bool scheduledLook) {
  char name[40];
  std::snprintf(name, sizeof name, "\\tray\\%s%02d.png", scheduledLook ? "scheduled" : "normal",
                frame % 16 + 1);
  return QIcon(Q(folder.Path(name)));
}

}  // namespace

TForm1::TForm1(const TAppFolder& folder, TFormOptions options)
    : summit_(folder),
      ownDialog_(options.dialogs ? nullptr : std::make_unique<TDialog97>()),
      dialogs_(options.dialogs ? options.dialogs : ownDialog_.get()),
      internet_(options.internet ? options.internet : &platformConnection_),
      updateKey_(options.updateKey ? *options.updateKey : PublisherKey()),
      trayAvailable_(options.systemTray ? options.systemTray : [] { return QSystemTrayIcon::isSystemTrayAvailable(); }),
      connection_(folder),
      editor_(summit_.state, *dialogs_),
      newDomainModel_(summit_.state, editor_, *dialogs_),
      newProjectModel_(summit_.state, editor_, *dialogs_) {
  setObjectName(QStringLiteral("Form1"));
  summit_.state.versionSuffix = std::string(kVersionSuffix);
  setWindowIcon(QIcon(Q(folder.Path("\\icon.ico"))));
  if (ownDialog_) {
    ownDialog_->applicationTitle = summit_.state.applicationTitle;
    ownDialog_->OnHelp = [this](int context) { OpenHelp(std::string(HelpFileForContext(context))); };
  }
  RunStartup(options.splash);
  run_ = std::make_unique<TRunControl>(summit_.state, summit_.catalogue, connection_, *dialogs_, *internet_);
  import_ = std::make_unique<TImportMonitor>(summit_.state, editor_, *dialogs_);
  metaEditor_ = std::make_unique<TMetaEditor>(summit_.state, summit_.metaCatalogue);
  metaHtmlEditor_ = std::make_unique<TMetaHtmlEditor>(summit_.state, summit_.metaCatalogue,
                                                      *dialogs_, *internet_);
  doorway_ = std::make_unique<TDoorwayPage>(summit_.state, summit_.metaCatalogue, *dialogs_);
  newDomainModel_.importMonitor = import_.get();
  newProjectModel_.importMonitor = import_.get();
  summit_.AttachScheduler(*run_, connection_, *internet_, *dialogs_,
                          options.schedulerPlatform ? options.schedulerPlatform() : TSchedulerPlatform{});
  Scheduler().BindEditor(editor_);
  BuildWindow();
  BindScheduler();
  run_->OnReloadHistory = [this] {
    Guarded(*dialogs_, [&] { editor_.ReloadHistory(); });
    projectsPage_->Refresh();
  };

  // The other windows, in the program's order.
  newProject_ = new TNewProject(newProjectModel_, summit_.state, *dialogs_, this);
  newDomain_ = new TNewDomain(newDomainModel_, summit_.state, *dialogs_, this);
  importForm_ = new TImportProjects(*import_, this);
  importForm_->OnProjectsChanged = [this] { RefreshAll(); };
  options_ = new TOptionsForm(connection_, *dialogs_, this);
  help_ = new THelpForm(folder, this);
  options_->ReadSettings();
  options_->OnLanguageChosen = [this](const std::string& choice) { ChooseTable(choice); };
  for (TWizardForm* w : {static_cast<TWizardForm*>(newProject_), static_cast<TWizardForm*>(newDomain_)})
    w->OnAdded = [this] {
      RefreshAll();
      if (page_ == TPage::About) ShowPage(TPage::Projects);  // the new project is to be edited
    };
  auto connected = [this] { return TConnectionSettings::CheckInternet(*internet_, nullptr, summit_.state.languageTable); };
  newDomainModel_.IsConnected = connected;
  newProjectModel_.IsConnected = connected;
}

TForm1::~TForm1() {
  // The program ends: the scheduler stops ticking but stays switched on for the next start.
  // The behaviour goes first, while the widgets its events reach are still there.
  if (summit_.scheduler) summit_.scheduler->Halt();
  // The pages let go of the run's, the scheduler's, the catalogue's, the update's, the
  // editor's and the engine list's events.
  delete std::exchange(submitPage_, nullptr);
  delete std::exchange(databasePage_, nullptr);
  delete std::exchange(rankingPage_, nullptr);
  delete std::exchange(metaTagsPage_, nullptr);
  delete std::exchange(doorwaysPage_, nullptr);
  editor_.OnProjectLoaded = nullptr;
  summit_.scheduler.reset();
  import_.reset();
  run_.reset();
  summit_.catalogue.Close();
}

void TForm1::BindScheduler() {
  TScheduler& scheduler = Scheduler();
  auto buttons = [this] {
    Command("actSchedulerStart")->setEnabled(Scheduler().StartEnabled());
    Command("actSchedulerStop")->setEnabled(Scheduler().StopEnabled());
    submitPage_->SchedulerChanged();
  };
  scheduler.OnRunningChanged = [this, buttons](bool running) {
    ShowTray(running);
    buttons();
    ShowProgress();
  };
  scheduler.OnFrameChanged = [this](int frame, bool look) { SetTrayFrame(frame, look); };
  scheduler.OnGoToTray = [this] { GoToTray(); };
  buttons();
}

void TForm1::RunStartup(bool splash) {
  TAppState& state = summit_.state;
  startupComplete_ = summit_.Start(*dialogs_, [&](const std::string& caption) {
    if (!splash) return;
    if (!splash_) {
      splash_ = std::make_unique<TSplash>(Picture(state.folder, "\\splash.jpg"), windowIcon());
      splash_->show();
    }
    splash_->raise();
    splash_->SetCaption(Q(caption));
  });
  setWindowTitle(Q(state.caption.empty() ? state.applicationTitle + state.versionSuffix : state.caption));
  if (ownDialog_) ownDialog_->applicationTitle = state.applicationTitle;
  // The editor shows the start-up's selection: the first domain and its first project.
  Guarded(*dialogs_, [&] { editor_.ShowStartupSelection(); });
}

// ---- the window ---------------------------------------------------------------------------

void TForm1::BuildWindow() {
  const TAppFolder& folder = summit_.state.folder;
  auto* central = new QWidget(this);
  auto* top = new QVBoxLayout(central);
  tabs_ = new TTabStrip(Picture(folder, "\\tab2on.gif"), Picture(folder, "\\tab2off.gif"), central);
  connect(tabs_, &TTabStrip::tabClicked, this, [this](int i) { ChooseTab(kTabRules[i].page); });
  top->addWidget(tabs_);

  auto* splitter = new QSplitter(central);
  splitter_ = splitter;
  splitter->setObjectName(QStringLiteral("MainSplitter"));
  leftPanel_ = new QWidget(splitter);
  leftPanel_->setObjectName(QStringLiteral("LeftPanel"));
  auto* left = new QVBoxLayout(leftPanel_);
  domainCaption_ = new QLabel(leftPanel_);
  domainList_ = new QListWidget(leftPanel_);
  domainList_->setObjectName(QStringLiteral("DomainList"));
  projectCaption_ = new QLabel(leftPanel_);
  projectList_ = new QListWidget(leftPanel_);
  projectList_->setObjectName(QStringLiteral("ProjectList"));
  left->addWidget(domainCaption_);
  left->addWidget(domainList_);
  left->addWidget(projectCaption_);
  left->addWidget(projectList_, 2);
  connect(domainList_, &QListWidget::currentRowChanged, this, &TForm1::DomainClicked);
  connect(projectList_, &QListWidget::currentRowChanged, this, &TForm1::ProjectClicked);
  connect(projectList_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    if (!refreshing_)
      editor_.SetChecked(item->text().toStdString(), item->checkState() == Qt::Checked);
  });

  pages_ = new QStackedWidget(splitter);
  pageWidgets_.resize(8);
  projectsPage_ = new TProjectsPage(editor_, *dialogs_, summit_.state);
  pageWidgets_[int(TPage::Projects)] = projectsPage_;
  submitPage_ = new TSubmitPage(*run_, Scheduler(), editor_, summit_.manualEngines, *dialogs_);
  connect(submitPage_, &TSubmitPage::progressChanged, this, &TForm1::ShowProgress);
  // The update itself belongs to the Database page's update panel.
  connect(submitPage_, &TSubmitPage::updateDatabaseRequested, this, [this] {
    OpenPanelOf(TPage::Database, 2);
    if (page_ == TPage::Database) databasePage_->StartUpdate();
  });
  pageWidgets_[int(TPage::Submit)] = submitPage_;
  rankingPage_ = new TRankingPage(summit_.rankEngineList, editor_, connection_, *dialogs_, *internet_, summit_.state);
  pageWidgets_[int(TPage::Ranking)] = rankingPage_;
  metaTagsPage_ = new TMetaTagsPage(*metaEditor_, *metaHtmlEditor_, summit_.metaCatalogue, editor_,
                                    summit_.state, *dialogs_);
  connect(metaTagsPage_, &TMetaTagsPage::updateMetaInfoRequested, this, &TForm1::UpdateMetaInfo);
  editor_.OnProjectLoaded = [this] { metaTagsPage_->ProjectSelected(); };
  pageWidgets_[int(TPage::MetaTags)] = metaTagsPage_;
  doorwaysPage_ = new TDoorwaysPage(*doorway_, editor_, summit_.state, *dialogs_);
  pageWidgets_[int(TPage::Doorways)] = doorwaysPage_;
  reportsPage_ = new TReportsPage(summit_.state, editor_, *dialogs_);
  pageWidgets_[int(TPage::Reports)] = reportsPage_;
  databasePage_ = new TDatabasePage(summit_, *dialogs_, updateKey_);
  connect(databasePage_, &TDatabasePage::dataUpdated, this, [this] {
    submitPage_->ManualListChanged();
    rankingPage_->EngineListChanged();
    projectsPage_->FillCategories();
  });
  pageWidgets_[int(TPage::Database)] = databasePage_;
  auto* about = new QWidget;
  about->setObjectName(QStringLiteral("AboutPage"));
  auto* aboutLayout = new QVBoxLayout(about);
  aboutPicture_ = new QLabel(about);
  aboutPicture_->setPixmap(Picture(folder, "\\splash.jpg"));
  aboutPicture_->setAlignment(Qt::AlignCenter);
  aboutCount_ = new QLabel(about);
  aboutCount_->setObjectName(QStringLiteral("DomainCount"));
  aboutLayout->addWidget(aboutPicture_, 1);
  aboutLayout->addWidget(aboutCount_);
  pageWidgets_[int(TPage::About)] = about;
  for (QWidget* w : pageWidgets_) pages_->addWidget(w);
  // Both sides grow and shrink with the window, the pages three times as much; the lists
  // never vanish.
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 3);
  splitter->setCollapsible(0, false);
  top->addWidget(splitter, 1);
  placeSaver_ = new QTimer(this);
  placeSaver_->setSingleShot(true);
  placeSaver_->setInterval(1000);
  connect(placeSaver_, &QTimer::timeout, this, &TForm1::SavePlace);
  connect(splitter, &QSplitter::splitterMoved, this, [this] {
    splitterState_ = splitter_->saveState();
    placeSaver_->start();
  });
  setCentralWidget(central);

  BuildMenus();
  BuildListMenus();

  tray_ = new QSystemTrayIcon(TrayIcon(folder, 0, false), this);
  trayMenu_ = new QMenu(this);
  trayMenu_->setObjectName(QStringLiteral("TrayMenu"));
  QAction* open = trayMenu_->addAction(QString(), this, &TForm1::RestoreFromTray);
  open->setObjectName(QStringLiteral("TrayOpen"));
  keyed_.emplace_back(open, "335");
  tray_->setContextMenu(trayMenu_);
  connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
    if (r == QSystemTrayIcon::DoubleClick || r == QSystemTrayIcon::Trigger) RestoreFromTray();
  });
  connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { SessionEnding(); });

  // Room for the pages' grids where the screen has it; never larger than the screen.
  QSize size(1100, 760);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    size = size.boundedTo(screen->availableGeometry().size() * 0.95);
  resize(size);
  RestorePlace();
  RefreshAll();
  projectsPage_->FillCategories();
  ShowPage(TPage::About);
}

void TForm1::RestorePlace() {
  const TAppFolder& folder = summit_.state.folder;
  std::string geometry, widths;
  Guarded(*dialogs_, [&] {
    geometry = ReadSettingText(folder, setting::kWindowGeometry);
    widths = ReadSettingText(folder, setting::kWindowSplitter);
  });
  // A stored value that Qt cannot read (edited by hand) leaves the defaults.
  if (!geometry.empty()) restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(geometry)));
  if (widths.empty() || !splitter_->restoreState(QByteArray::fromBase64(QByteArray::fromStdString(widths))))
    splitter_->setSizes({width() / 4, width() - width() / 4});  // room for the project names
  placeSaver_->stop();
}

void TForm1::SavePlace() {
  placeSaver_->stop();
  const TAppFolder& folder = summit_.state.folder;
  Guarded(*dialogs_, [&] {
    WriteSettingText(folder, setting::kWindowGeometry, saveGeometry().toBase64().toStdString());
    // The widths as the user left them (the About page hides the lists).
    if (!splitterState_.isEmpty())
      WriteSettingText(folder, setting::kWindowSplitter, splitterState_.toBase64().toStdString());
  });
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (placeSaver_ && isVisible()) placeSaver_->start();
}

void TForm1::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  if (placeSaver_ && isVisible()) placeSaver_->start();
}

QMenu* TForm1::Menu(QMenu* parent, const char* key, const char* name) {
  QMenu* menu = parent ? parent->addMenu(QString()) : menuBar()->addMenu(QString());
  menu->setObjectName(QString::fromLatin1(name));
  keyed_.emplace_back(menu, key);
  return menu;
}

QAction* TForm1::Action(QMenu* menu, const char* key, const char* name, std::function<void()> slot) {
  QAction* action = menu->addAction(QString());
  action->setObjectName(QString::fromLatin1(name));
  if (key) keyed_.emplace_back(action, key);
  connect(action, &QAction::triggered, this, [slot = std::move(slot)] { slot(); });
  return action;
}

void TForm1::OpenPanelOf(TPage page, int panel) {
  ChooseTab(page);
  if (page_ != page) return;  // refused
  if (page == TPage::Projects) {
    projectsPage_->OpenPanel(static_cast<TProjectPanel>(panel));
    return;
  }
  if (page == TPage::Submit) {
    submitPage_->OpenPanel(static_cast<TSubmitPanel>(panel));
    return;
  }
  if (page == TPage::Database) {
    databasePage_->OpenPanel(static_cast<TDatabasePanel>(panel));
    return;
  }
  if (page == TPage::MetaTags) {
    metaTagsPage_->OpenPanel(static_cast<TMetaPanel>(panel));
    return;
  }
  if (page == TPage::Doorways) {
    doorwaysPage_->OpenPanel(static_cast<TDoorwayPanel>(panel));
    return;
  }
}

void TForm1::BuildMenus() {
  QMenu* projects = Menu(nullptr, "45", "MenuProjects");
  QMenu* tab = Menu(projects, "338", "MenuProjectsTab");
  Action(tab, "339", "actInformation", [this] { OpenPanelOf(TPage::Projects, 0); });
  Action(tab, "340", "actOptions", [this] { OpenPanelOf(TPage::Projects, 1); });
  Action(tab, "341", "actSchedule", [this] { OpenPanelOf(TPage::Projects, 2); });
  QMenu* history = Menu(tab, "342", "MenuSubmissionHistory");
  Action(history, "335", "actHistory", [this] { OpenPanelOf(TPage::Projects, 3); });
  QMenu* domains = Menu(projects, "46", "MenuDomains");
  Action(domains, "344", "actNewDomain", [this] { OpenNewDomain(); });
  QMenu* deleteDomain = Menu(domains, "345", "MenuDeleteDomain");
  Action(deleteDomain, "346", "actDeleteSelectedDomain", [this] { Run([this] { editor_.DeleteSelectedDomain(); }); });
  Action(deleteDomain, "347", "actDeleteAllDomains", [this] { Run([this] { editor_.DeleteAllDomains(); }); });
  QMenu* projectMenu = Menu(projects, "45", "MenuProjectsProjects");
  Action(projectMenu, "349", "actNewProject", [this] { OpenNewProject(); });
  QMenu* deleteProject = Menu(projectMenu, "348", "MenuDeleteProject");
  Action(deleteProject, "350", "actDeleteSelectedProject", [this] { Run([this] { editor_.DeleteSelectedProject(); }); });
  Action(deleteProject, "351", "actDeleteCheckedProjects", [this] { Run([this] { editor_.DeleteCheckedProjects(); }); });
  Action(deleteProject, "353", "actDeleteAllProjects", [this] { Run([this] { editor_.DeleteAllProjects(); }); });
  Action(projectMenu, "343", "actClearHistory", [this] { Run([this] { editor_.ClearHistory(); }); });
  Action(projectMenu, "352", "actUpdateMetaInfo", [this] { UpdateMetaInfo(); });

  QMenu* submit = Menu(nullptr, "47", "MenuSubmit");
  Action(submit, "354", "actAutoSubmit", [this] { OpenPanelOf(TPage::Submit, 0); });
  Action(submit, "355", "actManualEngines", [this] { OpenPanelOf(TPage::Submit, 1); });
  QMenu* scheduled = Menu(submit, "63", "MenuScheduled");
  Action(scheduled, "335", "actScheduledOpen", [this] { OpenPanelOf(TPage::Submit, 2); });
  Action(scheduled, "79", "actSchedulerStart", [this] { Guarded(*dialogs_, [&] { Scheduler().Start(); }); });
  Action(scheduled, "80", "actSchedulerStop", [this] { Guarded(*dialogs_, [&] { Scheduler().Stop(); }); });

  QMenu* ranking = Menu(nullptr, "51", "MenuRanking");
  Action(ranking, "335", "actRankingOpen", [this] { ChooseTab(TPage::Ranking); });
  QMenu* meta = Menu(nullptr, "48", "MenuMetaTags");
  Action(meta, "216", "actMetaCreator", [this] { OpenPanelOf(TPage::MetaTags, 0); });
  Action(meta, "217", "actMetaEditor", [this] { OpenPanelOf(TPage::MetaTags, 1); });
  QMenu* doorways = Menu(nullptr, "52", "MenuDoorways");
  QMenu* builder = Menu(doorways, "356", "MenuPageBuilder");
  Action(builder, "357", "actPageOptions", [this] { OpenPanelOf(TPage::Doorways, int(TDoorwayPanel::Options)); });
  Action(builder, "358", "actContentEditor", [this] { OpenPanelOf(TPage::Doorways, int(TDoorwayPanel::Content)); });
  Action(doorways, "359", "actPreviewSave", [this] { OpenPanelOf(TPage::Doorways, int(TDoorwayPanel::Preview)); });
  QMenu* reports = Menu(nullptr, "50", "MenuReports");
  Action(reports, "335", "actReportsOpen", [this] { ChooseTab(TPage::Reports); });
  Action(reports, "249", "actReportPreview", [this] { reportsPage_->Preview(); });
  QMenu* database = Menu(nullptr, "58", "MenuDatabase");
  Action(database, "360", "actMainDatabase", [this] { OpenPanelOf(TPage::Database, 0); });
  Action(database, "261", "actCustomDatabase", [this] { OpenPanelOf(TPage::Database, 1); });
  Action(database, "262", "actDatabaseUpdates", [this] { OpenPanelOf(TPage::Database, 2); });

  QMenu* options = Menu(nullptr, "53", "MenuOptions");
  Action(options, "361", "actTimeoutsPorts", [this] { options_->OpenPanel(TOptionsPanel::TimeoutsPorts); });
  Action(options, "309", "actProxySettings", [this] { options_->OpenPanel(TOptionsPanel::Proxy); });
  Action(options, "362", "actDialup", [this] { options_->OpenPanel(TOptionsPanel::Dialup); });
  Action(options, "optlanguage", "actLanguage", [this] { options_->OpenPanel(TOptionsPanel::Language); });
  QMenu* languages = options->addMenu(QStringLiteral("Languages"));
  languages->setObjectName(QStringLiteral("MenuLanguages"));
  languages->menuAction()->setVisible(false);  // hidden, as it always was
  Action(languages, nullptr, "actEnglish", [this] { SwitchTo(TLanguage::English); })->setText(QStringLiteral("English"));
  Action(languages, nullptr, "actSpanish", [this] { SwitchTo(TLanguage::Spanish); })->setText(QStringLiteral("Spanish"));
  QMenu* helpMenu = Menu(nullptr, "54", "MenuHelp");
  Action(helpMenu, "363", "actHelpFiles", [this] { OpenHelp(std::string(kHelpTopics[0].file)); });
  Action(helpMenu, "364", "actAbout", [this] { ShowPage(TPage::About); });

  // The shortcuts people expect: F1 help, Ctrl+N a new project, Ctrl+Tab and Ctrl+PageDown
  // the next tab, Ctrl+Shift+Tab and Ctrl+PageUp the one before.
  Command("actHelpFiles")->setShortcut(QKeySequence::HelpContents);
  Command("actNewProject")->setShortcut(QKeySequence::New);
  auto step = [this](int by) {
    int tab = -1;
    for (int i = 0; i < kTabCount; ++i)
      if (kTabRules[i].page == page_) tab = i;
    tab = tab < 0 ? (by > 0 ? 0 : kTabCount - 1) : (tab + by + kTabCount) % kTabCount;
    ChooseTab(kTabRules[tab].page);
  };
  for (auto [keys, by] : {std::pair{QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
                          {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
                          {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
                          {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1}}) {
    auto* action = new QAction(this);
    action->setObjectName(by > 0 ? QStringLiteral("actNextTab") : QStringLiteral("actPriorTab"));
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [step, by = by] { step(by); });
    addAction(action);
  }
}

void TForm1::BuildListMenus() {
  auto popup = [this](QListWidget* list, std::vector<const char*> commands) {
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, [this, list, commands](QPoint at) {
      QMenu menu;
      for (const char* name : commands) menu.addAction(Command(name));
      menu.exec(list->viewport()->mapToGlobal(at));
    });
  };
  popup(domainList_, {"actNewDomain", "actDeleteSelectedDomain", "actDeleteAllDomains"});
  popup(projectList_, {"actNewProject", "actDeleteSelectedProject", "actDeleteCheckedProjects",
                       "actDeleteAllProjects", "actClearHistory", "actUpdateMetaInfo"});
}

QAction* TForm1::Command(const char* name) const {
  return findChild<QAction*>(QString::fromLatin1(name));
}

// ---- pages --------------------------------------------------------------------------------

bool TForm1::LeftPanelVisible() const { return leftPanel_->isVisibleTo(const_cast<TForm1*>(this)); }

void TForm1::ShowPage(TPage page) {
  page_ = page;
  pages_->setCurrentWidget(pageWidgets_[int(page)]);
  leftPanel_->setVisible(page != TPage::About);
  int tab = -1;
  for (int i = 0; i < kTabCount; ++i)
    if (kTabRules[i].page == page) tab = i;
  tabs_->Select(tab);
  editor_.rankingPageCurrent = page == TPage::Ranking;
  if (page == TPage::Ranking) rankingPage_->PageShown();
}

void TForm1::ChooseTab(TPage page) {
  const TTabChoice choice = qs::ChooseTab(page, editor_.Domains().empty(), run_->Active(),
                                          *dialogs_, summit_.state.languageTable);
  if (choice.change) ShowPage(page);
  if (choice.openNewDomain) OpenNewDomain();
}

// ---- lists --------------------------------------------------------------------------------

void TForm1::RefreshLists() {
  refreshing_ = true;
  domainList_->clear();
  for (const std::string& d : editor_.Domains()) domainList_->addItem(Q(d));
  domainList_->setCurrentRow(editor_.SelectedDomain());
  projectList_->clear();
  for (const std::string& p : editor_.Projects()) {
    auto* item = new QListWidgetItem(Q(p), projectList_);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(editor_.IsChecked(p) ? Qt::Checked : Qt::Unchecked);
  }
  projectList_->setCurrentRow(editor_.SelectedProject());
  const TLanguageTable& table = summit_.state.languageTable;
  domainCaption_->setText(Q(table.Lookup("46")) + QStringLiteral(" (%1)").arg(editor_.Domains().size()));
  projectCaption_->setText(Q(table.Lookup("45")) + QStringLiteral(" (%1)").arg(editor_.Projects().size()));
  aboutCount_->setText(Q(table.Lookup("46")) + QStringLiteral(": %1").arg(editor_.Domains().size()));
  refreshing_ = false;
}

void TForm1::RefreshAll() {
  RefreshLists();
  projectsPage_->Refresh();
  // A project deleted or its history cleared: the open page shows what is left.
  if (page_ == TPage::Ranking) rankingPage_->ReloadHistory();
  if (page_ == TPage::Reports) reportsPage_->Refresh();
  metaTagsPage_->Refresh();
}

void TForm1::Run(const std::function<void()>& command) {
  Guarded(*dialogs_, command);
  RefreshAll();
}

void TForm1::DomainClicked(int row) {
  if (refreshing_ || row < 0 || row == editor_.SelectedDomain()) return;
  Run([&] { editor_.SelectDomain(row); });
}

void TForm1::ProjectClicked(int row) {
  if (refreshing_ || row < 0 || row == editor_.SelectedProject()) return;
  Run([&] { editor_.SelectProject(row); });
}

// ---- commands -----------------------------------------------------------------------------

void TForm1::OpenNewDomain() { newDomain_->Open(); }

void TForm1::OpenNewProject() {
  bool may = false;
  Guarded(*dialogs_, [&] { may = editor_.MayCreateProject(); });
  if (may) newProject_->Open();
}

void TForm1::UpdateMetaInfo() {
  Guarded(*dialogs_, [&] {
    qs::UpdateMetaInfo(summit_.state, editor_.Text("url"), *dialogs_, *internet_, *import_);
  });
}

void TForm1::OpenHelp(const std::string& file) { help_->ShowTopic(file); }

void TForm1::SwitchTo(TLanguage language) {
  if (Guarded(*dialogs_, [&] { SwitchLanguage(summit_.state.languageTable, summit_.state.folder, language); }))
    ApplyTable();
}

void TForm1::FitTabs() {
  const auto widths = TabWidths(summit_.state.languageTable.Lookup("lang"));
  for (int i = 0; i < kTabCount; ++i) {
    // The table's width, or wider where the caption needs it in the window's font (and
    // the skin's, so this runs again once a skin is applied).
    TTabButton* tab = tabs_->Tab(i);
    const int wanted = widths ? (*widths)[i] : tab->width();
    tab->setMinimumWidth(0);
    tab->setMaximumWidth(QWIDGETSIZE_MAX);
    tab->ensurePolished();
    tab->setFixedWidth(std::max(wanted, tab->sizeHint().width()));
  }
  tabs_->Select(tabs_->Selected());
}

void TForm1::ChooseTable(const std::string& choice) {
  if (!Guarded(*dialogs_, [&] {
        LoadChosenTable(summit_.state.languageTable, summit_.state.folder, choice);
        WriteSettingText(summit_.state.folder, setting::kTableLang, choice);
      }))
    return;
  ApplyTable();
}

void TForm1::ApplyTable() {
  const TLanguageTable& table = summit_.state.languageTable;
  ApplyComponentCaptions(this, table);
  for (auto& [control, key] : keyed_) SetCaption(control, Q(table.Lookup(key)));
  // Every menu of the menu bar, and the bar itself, gets its keyboard mnemonics.
  auto mnemonics = [](const QList<QAction*>& actions) {
    std::vector<QAction*> named;
    std::vector<std::string> texts;
    for (QAction* a : actions)
      if (!a->isSeparator() && !a->text().isEmpty()) {
        named.push_back(a);
        texts.push_back(a->text().toStdString());
      }
    const std::vector<std::string> marked = WithMnemonics(texts);
    for (size_t i = 0; i < named.size(); ++i) named[i]->setText(Q(marked[i]));
  };
  mnemonics(menuBar()->actions());
  std::vector<std::string> menuBarTexts;
  for (QAction* a : menuBar()->actions())
    if (!a->isSeparator() && !a->text().isEmpty()) menuBarTexts.push_back(a->text().toStdString());
  for (QMenu* menu : menuBar()->findChildren<QMenu*>()) mnemonics(menu->actions());
  for (int i = 0; i < kTabCount; ++i)
    tabs_->Tab(i)->SetCaption(Q(TabCaptionHtml(table.Lookup(kTabRules[i].captionKey))));
  FitTabs();
  projectsPage_->ApplyTable(table);
  submitPage_->ApplyTable(table);
  databasePage_->ApplyTable(table);
  rankingPage_->ApplyTable(table);
  reportsPage_->ApplyTable(table);
  metaTagsPage_->ApplyTable(table, menuBarTexts);
  doorwaysPage_->ApplyTable(table, menuBarTexts);
  newDomain_->ApplyTable(table);
  newProject_->ApplyTable(table);
  importForm_->ApplyTable(table);
  options_->ApplyTable(table);
  help_->ApplyTable(table);
  Guarded(*dialogs_, [&] {
    const TAppFolder& folder = summit_.state.folder;
    std::string current = ReadSettingText(folder, setting::kTableLang);
    const bool custom = FileExists(folder.Path("\\lang.ini"));
    if (current.empty()) current = custom ? "custom" : "english";
    options_->ShowLanguages(current, custom);
  });
  RefreshLists();
}

// ---- showing, the tray and closing --------------------------------------------------------

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // A downloaded software update is installed by the restart program, which waits for this
  // program to end.
  std::string failure;
  const std::string programs = restartProgramFolder.empty()
                                   ? QCoreApplication::applicationDirPath().toStdString()
                                   : restartProgramFolder;
  if (HandOverPendingSoftware(summit_.state.folder, programs, failure)) {
    QMetaObject::invokeMethod(this, [this] { sessionEnding_ = true; close(); }, Qt::QueuedConnection);
    return;
  }
  if (!failure.empty()) dialogs_->Message(failure, TMsgDlgType::Error);
  if (shownOnce_) return;
  shownOnce_ = true;
  FirstShowing();
}

void TForm1::FirstShowing() {
  auto caption = [this](const char* text) {
    if (!splash_) return;
    splash_->raise();
    splash_->SetCaption(QString::fromLatin1(text));
  };
  caption("Loading... Proxy Settings");
  Guarded(*dialogs_, [&] { connection_.ReadProxy(); });
  options_->ShowProxyPanel();
  caption("Loading... Language");
  // The table chosen in Options, if the user chose one.
  Guarded(*dialogs_, [&] {
    const std::string choice = ReadSettingText(summit_.state.folder, setting::kTableLang);
    if (!choice.empty()) LoadChosenTable(summit_.state.languageTable, summit_.state.folder, choice);
  });
  ApplyTable();
  caption("Loading... Skin");
  std::string skin;
  Guarded(*dialogs_, [&] { skin = ReadSkin(summit_.state.folder); });
  if (!skin.empty()) {
    qApp->setStyleSheet(Q(skin));
    FitTabs();
  }
  // With [Application] schedule on, the scheduler restarts and the window goes to the tray.
  Guarded(*dialogs_, [&] { Scheduler().RestartAtProgramStart(); });
  splash_.reset();
}

void TForm1::ShowTray(bool shown) { tray_->setVisible(shown); }

void TForm1::ShowProgress() {
  const QString progress = Q(run_->ProgressText());
  if (progress.isEmpty())
    statusBar()->clearMessage();
  else
    statusBar()->showMessage(progress);
  tray_->setToolTip(progress.isEmpty() ? windowTitle() : windowTitle() + QLatin1Char('\n') + progress);
}

void TForm1::SetTrayFrame(int frame, bool scheduledLook) {
  trayFrame_ = frame;
  tray_->setIcon(TrayIcon(summit_.state.folder, frame, scheduledLook));
}

void TForm1::GoToTray() {
  showMinimized();
  // Hidden, the window comes back only through the tray icon: on a desktop without a tray
  // it stays minimised in the task bar instead, and the scheduler runs the same.
  if (trayAvailable_()) hide();
}

void TForm1::RestoreFromTray() {
  showNormal();
  raise();
  activateWindow();
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (!Scheduler().MayCloseWindow(sessionEnding_)) {
    // The scheduler keeps running in the tray.
    event->ignore();
    GoToTray();
    return;
  }
  event->accept();
  if (placeSaver_->isActive()) SavePlace();
  for (QWidget* w : {static_cast<QWidget*>(newDomain_), static_cast<QWidget*>(newProject_),
                     static_cast<QWidget*>(importForm_), static_cast<QWidget*>(options_),
                     static_cast<QWidget*>(help_)})
    w->close();
  tray_->hide();
  emit closed();
}

}  // namespace qs
