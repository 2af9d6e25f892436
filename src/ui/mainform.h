// The main window: the strip of seven tabs over the page area, the About page, the left
// panel with the domain and project lists, the main menu and the list menus, the tray icon
// while the scheduler runs, and the closing rules. It owns the program's behaviour objects
// and creates the other windows after its own start-up, in the program's order.
#pragma once

#include <QByteArray>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/summit.h"
#include "app/windowtexts.h"
#include "doorways/doorwaypage.h"
#include "metatags/metaeditor.h"
#include "metatags/metahtmleditor.h"
#include "net/connectionsettings.h"
#include "platform/internetconnection.h"
#include "platform/signature.h"
#include "projects/projecteditor.h"
#include "projects/wizards.h"
#include "schedule/scheduler.h"
#include "spider/importmonitor.h"
#include "submit/runcontrol.h"

class QAction;
class QLabel;
class QSplitter;
class QTimer;
class QListWidget;
class QMenu;
class QStackedWidget;
class QSystemTrayIcon;

namespace qs {

class TDialog97;
class THelpForm;
class TImportProjects;
class TNewDomain;
class TNewProject;
class TOptionsForm;
class TProjectsPage;
class TRankingPage;
class TReportsPage;
class TSplash;
class TDatabasePage;
class TDoorwaysPage;
class TMetaTagsPage;
class TSubmitPage;
class TTabStrip;

// What the main window may be given instead of the platform's own (tests give their own).
struct TFormOptions {
  IDialogs* dialogs = nullptr;                // none: the window's TDialog97
  IInternetConnection* internet = nullptr;    // none: the platform's connection state
  bool splash = true;
  std::function<TSchedulerPlatform()> schedulerPlatform;  // none: real timer and autostart
  std::optional<TPublicKey> updateKey;  // none: the publisher's key checks update archives
  std::function<bool()> systemTray;     // none: whether the desktop has a system tray
};

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  // Runs the start-up preparation on `folder` with a splash window, then creates the
  // program's run and scheduler and the other windows.
  explicit TForm1(const TAppFolder& folder, TFormOptions options = {});
  ~TForm1() override;

  TSummit& Summit() { return summit_; }
  TProjectEditor& Editor() { return editor_; }
  TConnectionSettings& Connection() { return connection_; }
  IDialogs& Dialogs() { return *dialogs_; }
  TRunControl& Run() { return *run_; }
  TMetaHtmlEditor& MetaHtml() { return *metaHtmlEditor_; }
  TScheduler& Scheduler() { return *summit_.scheduler; }
  bool StartupComplete() const { return startupComplete_; }

  // ---- pages and tabs
  TPage CurrentPage() const { return page_; }
  // A tab as the user chooses it, with its rules (175 for Projects, nodbedit for Database).
  void ChooseTab(TPage page);
  // Makes a page current without the tab rules (the About page hides the left panel).
  void ShowPage(TPage page);
  TProjectsPage* ProjectsPage() const { return projectsPage_; }
  TSubmitPage* SubmitPage() const { return submitPage_; }
  TDatabasePage* DatabasePage() const { return databasePage_; }
  TRankingPage* RankingPage() const { return rankingPage_; }
  TReportsPage* ReportsPage() const { return reportsPage_; }
  TMetaTagsPage* MetaTagsPage() const { return metaTagsPage_; }
  TDoorwaysPage* DoorwaysPage() const { return doorwaysPage_; }
  TTabStrip* Tabs() const { return tabs_; }
  QListWidget* DomainList() const { return domainList_; }
  QListWidget* ProjectList() const { return projectList_; }
  bool LeftPanelVisible() const;

  // ---- other windows
  TNewDomain* NewDomainForm() const { return newDomain_; }
  TNewProject* NewProjectForm() const { return newProject_; }
  TImportProjects* ImportForm() const { return importForm_; }
  TImportMonitor& Import() { return *import_; }
  TOptionsForm* OptionsForm() const { return options_; }
  THelpForm* HelpForm() const { return help_; }

  // Finds a menu command by its object name (tests, and the tray).
  QAction* Command(const char* name) const;

  // Sets every caption from the language table.
  void ApplyTable();

  // ---- the tray icon and the scheduler
  QSystemTrayIcon* Tray() const { return tray_; }
  int TrayFrame() const { return trayFrame_; }
  // Open from the tray: the window comes back as it was.
  void RestoreFromTray();
  // The desktop session ends: the next close ends the program even with the scheduler on.
  void SessionEnding() { sessionEnding_ = true; }

  // The folder of the restart program (default: the application's own executable folder).
  std::string restartProgramFolder;

 signals:
  // The window closed for good: the program ends.
  void closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void RunStartup(bool splash);
  void BindScheduler();
  void ShowProgress();
  void ShowTray(bool shown);
  void SetTrayFrame(int frame, bool scheduledLook);
  void GoToTray();
  void BuildWindow();
  void BuildMenus();
  QMenu* Menu(QMenu* parent, const char* key, const char* name);
  QAction* Action(QMenu* menu, const char* key, const char* name, std::function<void()> slot);
  void BuildListMenus();
  void OpenPanelOf(TPage page, int panel);
  void FirstShowing();

  void RefreshLists();
  void RefreshAll();
  void DomainClicked(int row);
  void ProjectClicked(int row);
  void Run(const std::function<void()>& command);  // a command, then the lists and the page

  void OpenNewDomain();
  void OpenNewProject();
  void UpdateMetaInfo();
  void OpenHelp(const std::string& file);
  void SwitchTo(TLanguage language);

  TSummit summit_;
  std::unique_ptr<TDialog97> ownDialog_;
  IDialogs* dialogs_;
  TPlatformInternetConnection platformConnection_;
  IInternetConnection* internet_;
  TPublicKey updateKey_;
  std::function<bool()> trayAvailable_;
  TConnectionSettings connection_;
  TProjectEditor editor_;
  std::unique_ptr<TRunControl> run_;
  std::unique_ptr<TImportMonitor> import_;
  std::unique_ptr<TMetaEditor> metaEditor_;
  std::unique_ptr<TMetaHtmlEditor> metaHtmlEditor_;
  std::unique_ptr<TDoorwayPage> doorway_;
  TNewDomainWizard newDomainModel_;
  TNewProjectWizard newProjectModel_;
  std::unique_ptr<TSplash> splash_;
  bool startupComplete_ = false;
  bool shownOnce_ = false;
  bool sessionEnding_ = false;
  bool refreshing_ = false;

  TPage page_ = TPage::About;
  TTabStrip* tabs_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  std::vector<QWidget*> pageWidgets_;  // by TPage
  QWidget* leftPanel_ = nullptr;
  QSplitter* splitter_ = nullptr;
  // Where the user left the window and the splitter, written a moment after they stop
  // changing it (a drag sends many changes).
  QTimer* placeSaver_ = nullptr;
  QByteArray splitterState_;  // when the user last moved the splitter
  void RestorePlace();
  void ChooseTable(const std::string& choice);
  void FitTabs();
  void SavePlace();
  QLabel *domainCaption_ = nullptr, *projectCaption_ = nullptr, *aboutCount_ = nullptr;
  QLabel* aboutPicture_ = nullptr;
  QListWidget *domainList_ = nullptr, *projectList_ = nullptr;
  TProjectsPage* projectsPage_ = nullptr;
  TSubmitPage* submitPage_ = nullptr;
  TDatabasePage* databasePage_ = nullptr;
  TRankingPage* rankingPage_ = nullptr;
  TReportsPage* reportsPage_ = nullptr;
  TMetaTagsPage* metaTagsPage_ = nullptr;
  TDoorwaysPage* doorwaysPage_ = nullptr;
  std::vector<std::pair<QObject*, const char*>> keyed_;  // menus and actions with caption keys
  QSystemTrayIcon* tray_ = nullptr;
  QMenu* trayMenu_ = nullptr;
  int trayFrame_ = 0;

  TNewProject* newProject_ = nullptr;
  TNewDomain* newDomain_ = nullptr;
  TImportProjects* importForm_ = nullptr;
  TOptionsForm* options_ = nullptr;
  THelpForm* help_ = nullptr;
};

}  // namespace qs
